#pragma once
// Hyperlinks of space blocks and assets: one address and its description
// (CHyperlink) and an ordered list of them that owns its links (CHyperlinks).
// The list is read from and written to drawing entities through the host's
// hyperlink protocol extension (AcDbEntityHyperlinkPE, kept as "PE_URL"
// extended data), built from a links text, and kept in the graphic report
// XML document, and loaded from the property database (HyperlinksIPR.cpp).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "host/db/AcadErrorStatus.h"

class AcDbBlockReference;
class AcDbEntity;
class CStoredProcedure;

class CHyperlink {
public:
    CHyperlink() = default;
    // subLocation is the named place inside the target (a view, a bookmark)
    // and flag the option value CAD programs keep with a link; both are
    // carried from the drawing and back unchanged.
    CHyperlink(std::string href, std::string description, std::string subLocation = {}, int flag = 0);
    virtual ~CHyperlink() = default;

    const std::string& getHref() const { return href_; }
    void setHref(const std::string& href) { href_ = href; }
    const std::string& getDescription() const { return description_; }
    void setDescription(const std::string& description) { description_ = description; }
    const std::string& getSubLocation() const { return subLocation_; }
    void setSubLocation(const std::string& subLocation) { subLocation_ = subLocation; }
    int getFlag() const { return flag_; }
    void setFlag(int flag) { flag_ = flag; }

    // A new link with the same address, description, sub-location and flag.
    std::unique_ptr<CHyperlink> copyTo() const;

    // Appends "hyperlink" with "bhHref" and "bhDescription" under parent.
    // Returns the new element; wraps DOM failures (CHyperlink::serialize).
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Reads "bhHref" and "bhDescription" from a "hyperlink" element; missing
    // children leave the fields as they are.
    void deSerialize(pugi::xml_node element);

    bool operator==(const CHyperlink& other) const
    {
        return href_ == other.href_ && description_ == other.description_ && subLocation_ == other.subLocation_ &&
               flag_ == other.flag_;
    }

private:
    std::string href_;
    std::string description_;
    std::string subLocation_;
    int flag_ = 0;
};

class CHyperlinks {
public:
    CHyperlinks() = default;
    // The hyperlinks of the reference, then those of every entity of its
    // block definition (getBlockHyperlinks).
    explicit CHyperlinks(const AcDbBlockReference* reference);
    CHyperlinks(const CHyperlinks&) = delete;
    CHyperlinks& operator=(const CHyperlinks&) = delete;
    virtual ~CHyperlinks() { deleteObjects(); }

    // Appends the link unless one with the same href is already held (the
    // link is then dropped). Returns true when it was appended.
    bool add(std::unique_ptr<CHyperlink> link);
    int getCount() const { return static_cast<int>(items_.size()); }
    // The link at index; throws a CEXUnhandled chain for an index out of range.
    const CHyperlink& getAt(int index) const;
    // Appends deep copies of every link to other (through add).
    void copyTo(CHyperlinks& other) const;
    // Frees every link and empties the list.
    void deleteObjects() { items_.clear(); }

    // Appends (through add) the entity's host hyperlinks (address,
    // description, sub-location, flag); an entity without the hyperlink
    // extension adds nothing.
    void getEntityHyperlinks(const AcDbEntity* entity);
    // Appends the links the database holds for a space block (asset) of a
    // graphic-report category: "__gr_getBlockHyperlinks"
    // ("__gr_getAssetHyperlinks"), each row's "bhHref" and "bhDescription"
    // added with add (a repeated address is dropped).
    void getBlockHyperlinksFromIPR(CStoredProcedure& sp, int32_t categoryID, const std::string& handle,
                                   uint32_t timeout);
    void getAssetHyperlinksFromIPR(CStoredProcedure& sp, int32_t categoryID, const std::string& handle,
                                   uint32_t timeout);
    // getEntityHyperlinks for the reference, then for every entity of its
    // block definition that opens (those the host knows to carry no "PE_URL"
    // data are passed over unopened); a definition that does not open adds nothing.
    void getBlockHyperlinks(const AcDbBlockReference* reference);
    // Replaces the entity's host hyperlinks (entity open for write) with this
    // list, each link whole (sub-location and flag included); an empty list
    // removes them. An entity that holds exactly these links already is not
    // written. Returns the host status (eOk; the write's status on failure).
    Acad::ErrorStatus setEntityHyperlinks(AcDbEntity* entity) const;
    // Takes from the entity (open for write) every link whose href this list
    // does not hold, leaving the others as they are; an entity that loses
    // none is not written. Returns the host status as setEntityHyperlinks.
    Acad::ErrorStatus keepOnlyListedHyperlinks(AcDbEntity* entity) const;
    // Appends the links of a text "address,description;address,description":
    // an entry without "," gives both from the whole entry, an empty part
    // takes the other, both are trimmed, entries with no address are skipped;
    // each href becomes address + "?pb=10&page=1&id=" + id.
    void setHyperlinks(const std::string& links, int32_t id);

    // Appends "hyperlinks" and one "hyperlink" per link, in order. Returns the container.
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Appends one link per "hyperlink" child of the element (through add).
    void deSerialize(pugi::xml_node element);

    bool operator==(const CHyperlinks& other) const;

private:
    std::vector<std::unique_ptr<CHyperlink>> items_;
};
