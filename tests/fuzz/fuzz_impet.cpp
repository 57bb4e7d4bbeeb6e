// The archive reader on hostile bytes: open, read every file, count, and write the tree back out.
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "settings/impet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CImpet impet;
    impet.clock = [] { return ImpetTime{0}; };
    if (impet.OpenBytes(std::span(data, size)) != 0) return 0;
    // Walk the tree itself (names may hold backslashes, so paths need not lead back to the same entry).
    std::vector<std::pair<std::string, std::string>> files;
    std::function<void(const IMPET_FILE&, const std::string&)> walk = [&](const IMPET_FILE& folder,
                                                                          const std::string& path) {
        for (const IMPET_FILE& child : folder.children) {
            if (child.isFolder())
                walk(child, path + "\\" + child.name);
            else
                files.emplace_back(path, child.name);
        }
    };
    walk(impet.root(), "");
    for (const auto& [path, name] : files) (void)impet.GetFile(path, name);
    int folderCount = 0, fileCount = 0;
    (void)impet.CountTree("", "", folderCount, fileCount);
    // What was accepted must write out and read back.
    CImpet again;
    if (again.OpenBytes(impet.SerializeArchive(0)) != 0) __builtin_trap();
    return 0;
}
