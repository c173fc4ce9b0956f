#pragma once
// An ordered collection of space blocks (from a drawing, a database query or
// a graphic report document). It owns its blocks, whatever their kind.
// This file holds the collection and its "zelkaBlocks" XML element; the
// drawing searches, sorting and zooming arrive with the drawing side.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "spaces/Block.h"

class CBlocks {
public:
    CBlocks() = default;
    CBlocks(const CBlocks&) = delete;
    CBlocks& operator=(const CBlocks&) = delete;
    ~CBlocks() { deleteObjects(); }

    // Appends the block, takes ownership and adds one to the count.
    void addBlock(std::unique_ptr<CBlock> block);
    int getCount() const { return count_; }
    int size() const { return static_cast<int>(items_.size()); }
    // The block at index; throws a CEXUnhandled chain for an index out of range.
    CBlock& getAt(int index) const;
    // The first block whose handle equals the text exactly, or null.
    CBlock* getAt(const std::string& handle) const;
    // The first block whose code equals the text exactly, or null.
    CBlock* getByCode(const std::string& code) const;
    // Puts a new block in the slot and frees the old one; throws a
    // CEXUnhandled chain for an index out of range.
    void replaceAt(int index, std::unique_ptr<CBlock> block);
    // Frees every block and empties the collection.
    void deleteObjects();

    // Appends "zelkaBlocks" and one "zelkaBlock" per block, in order.
    // Returns the container; wraps DOM failures (CBlocks::serialize).
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Appends one block record per "zelkaBlock" child of the element.
    void deSerialize(pugi::xml_node element);

private:
    std::vector<std::unique_ptr<CBlock>> items_;
    int32_t count_ = 0;
};
