#pragma once
// Text commands on an archive: how the build appends the archive to the program file and how a maintainer edits
// it (tools/impet), and how the program fills an empty archive from disk at start.
//   OPEN path | CLEAR | SAVE | IMPORT source [target] | EXPORT path [target] | SET path text | MKDIR path
//   DELETE path | RENAME old new
// Archive paths are backslash-separated; disk paths may use either separator.
#include <filesystem>
#include <iostream>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "settings/impet.h"

// Runs one command line; echoes it and its result note to `out` (a refused archive's reason goes to `err`).
// Result: 5 OPEN and CLEAR, 9 SAVE, 2 EXPORT of a file, 1 other known commands; 0 for an unknown command, a
// missing archive object (all but OPEN and CLEAR), EXPORT of a missing file and a failed SET.
// `ok`, when given, is set to whether the command did what it was asked (the tool's exit status).
int ImpetCommand(std::unique_ptr<CImpet>& impet, std::string line, std::ostream& out = std::cout,
                 std::ostream& err = std::cerr, bool* ok = nullptr);
// The same on an object that always exists: OPEN reopens it in place and a refused file leaves it empty.
int ImpetCommand(CImpet& impet, std::string line, std::ostream& out = std::cout, std::ostream& err = std::cerr,
                 bool* ok = nullptr);

// Where an empty archive is filled from at start: ../IMPET beside the current folder, then the installed data
// folder (<prefix>/share/kelvora/IMPET beside <prefix>/bin/kelvora). A link such as /proc/self/exe is followed.
[[nodiscard]] std::vector<std::filesystem::path> DefaultArchiveImportRoots(const std::filesystem::path& programPath);

// Start-up: opens the archive appended to the program file; when it holds no entries, imports NEW_309 and
// MAP_309 from each import root in turn (in memory only) until it does. A damaged archive is refused and its
// reason written to the error log in `logFolder`. True when the archive holds entries afterwards; false means
// the caller shows the "No Impet attached" warning.
bool AttachProgramArchive(CImpet& impet, const std::filesystem::path& programPath,
                          std::span<const std::filesystem::path> importRoots, const std::filesystem::path& logFolder,
                          std::ostream& out = std::cout);
// The same for the running program: its own file (/proc/self/exe) and the default import roots.
bool AttachProgramArchive(CImpet& impet, const std::filesystem::path& logFolder, std::ostream& out = std::cout);
