#include <cstring>
#include <string>

#include "platform/directory.h"
#include "res/name_case.h"
#include "res/resource.h"

bool tree_search_found = false;

namespace {

// Paths longer than the name buffer can hold are left out of the search.
bool fits_name_buffer(const std::string& path) {
    return path.size() < resource_path_size;
}

bool is_dot_entry(const std::string& name) {
    return name == "." || name == "..";
}

void visit_entry(const std::string& directory, const platform::DirectoryEntry& entry,
                 const std::string& wanted, char* name) {
    const std::string path = directory + "/" + entry.name;
    if (!fits_name_buffer(path))
        return;
    if (entry.is_directory) {
        if (!is_dot_entry(entry.name))
            find_file_in_tree(path.c_str(), name);
        return;
    }
    // On a file system that tells letter cases apart, only the entry's own spelling opens it.
    if (ascii_lowered(entry.name) == wanted) {
        std::memcpy(name, path.c_str(), path.size() + 1);
        tree_search_found = true;
    }
}

} // namespace

void find_file_in_tree(const char* directory, char* name) {
    platform::DirectoryEntry entry;
    platform::DirectorySearch* search = platform::find_first_entry(directory, entry);
    if (search == nullptr)
        return;
    const std::string wanted = ascii_lowered(name);
    do {
        visit_entry(directory, entry, wanted, name);
    } while (!tree_search_found && platform::find_next_entry(search, entry));
    platform::find_close(search);
}
