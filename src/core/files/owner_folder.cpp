#include "core/files/owner_folder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace limenta {

bool makeOwnerFolders(const std::string& path, std::string& problem) {
    // Each prefix that ends before a slash, then the whole path.
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string folder = path.substr(0, end);
        if (!folder.empty() && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            problem = std::strerror(errno);
            return false;
        }
        if (end == std::string::npos) {
            break;
        }
    }
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        problem = "it is not a folder";
        return false;
    }
    return true;
}

}  // namespace limenta
