#pragma once
// The temporary files an operation has written and wants removed once it is
// done with them.

#include <string>
#include <vector>

class CTempFiles {
public:
    CTempFiles() = default;
    virtual ~CTempFiles() = default;

    // Adds a path to the list and counts it.
    void add(const std::string& path);
    // The number of paths added since the last deleteTempFiles.
    int getCount() const { return count_; }
    // The listed paths, in the order they were added.
    const std::vector<std::string>& getList() const { return paths_; }
    // Deletes each listed file in order, ignoring files that cannot be
    // deleted, then empties the list and sets the count to 0.
    void deleteTempFiles();

private:
    std::vector<std::string> paths_;
    int count_ = 0;
};
