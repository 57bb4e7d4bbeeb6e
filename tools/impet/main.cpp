// kelvora-impet: runs archive command lines, one per argument, or one per line of standard input when no
// argument is given. Exits with 1 when any command failed, so a build step that appends the archive stops there.
//   kelvora-impet "OPEN build/kelvora" "IMPORT resources/impet/NEW_309" "SAVE"
#include <iostream>
#include <memory>
#include <string>

#include "settings/impetcmd.h"

int main(int argc, char** argv)
{
    std::unique_ptr<CImpet> impet;
    bool allOk = true;
    auto run = [&](std::string line) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos) return;
        bool ok = true;
        ImpetCommand(impet, std::move(line), std::cout, std::cerr, &ok);
        if (!ok) {
            std::cerr << "kelvora-impet: command failed\n";
            allOk = false;
        }
    };
    if (argc > 1) {
        for (int i = 1; i < argc; ++i) run(argv[i]);
    } else {
        for (std::string line; std::getline(std::cin, line);) run(line);
    }
    std::cout.flush();
    return allOk ? 0 : 1;
}
