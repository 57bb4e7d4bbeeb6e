// kelvora-unitsim: a simulated control unit on a pseudo-terminal, for trying the program without a unit.
//   kelvora-unitsim [--protocol IGN300|WCOM|WCOMS|IGN50|IGN100|IGN150] [--baud N] [--key N] [--subversion N]
//                   [--frame-size N] [--link PATH]
// Then start the program with KELVORA_PORTS=200=PATH (or the pts path it prints) and pick COM 200.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "link/frames.h"
#include "unitsim/unitsim.h"

namespace {
volatile std::sig_atomic_t g_stop = 0;
void onSignal(int)
{
    g_stop = 1;
}

struct ProtocolName
{
    const char* name;
    int protocol;
    int baud;
};
constexpr ProtocolName kProtocols[] = {{"IGN300", IGN300, 115200}, {"WCOM", WCOM, 57600},
                                       {"WCOMS", WCOMS, 57600},    {"IGN50", IGN50, 57600},
                                       {"IGN100", IGN100, 57600},  {"IGN150", IGN150, 57600}};

void printUsage(std::FILE* to, const char* program)
{
    std::fprintf(to,
                 "usage: %s [--protocol IGN300|WCOM|WCOMS|IGN50|IGN100|IGN150] [--baud N] [--key N] "
                 "[--subversion N] [--frame-size N] [--link PATH]\n"
                 "Acts as a control unit on a pseudo-terminal until interrupted; start the program with\n"
                 "KELVORA_PORTS=200=PATH and pick COM 200.\n",
                 program);
}
}  // namespace

int main(int argc, char** argv)
{
    unitsim::UnitConfig config;
    // A unit as a rider would meet it: firmware tag, serial number, last settings update and a note.
    config.firmwareTag = {'B' | 0x80, 3, 6, 24};
    config.lastUpdate = 1718000000;
    config.serialNumber = {0x1F, 7, 3, 12, 30, 15, 6, 24};
    config.note = "demo unit";
    std::string link;
    bool baudGiven = false;
    // Every word is an option with a value; anything else, and a missing value, shows the usage instead of
    // starting a unit that the user did not ask for.
    for (int i = 1; i < argc; i += 2) {
        const std::string opt = argv[i];
        if (opt == "--help" || opt == "-h") {
            printUsage(stdout, argv[0]);
            return 0;
        }
        const bool known = opt == "--protocol" || opt == "--baud" || opt == "--key" || opt == "--subversion" ||
                           opt == "--frame-size" || opt == "--link";
        if (!known || i + 1 >= argc) {
            if (known)
                std::fprintf(stderr, "%s needs a value\n", opt.c_str());
            else
                std::fprintf(stderr, "unknown option %s\n", opt.c_str());
            printUsage(stderr, argv[0]);
            return 2;
        }
        const std::string value = argv[i + 1];
        if (opt == "--protocol") {
            bool found = false;
            for (const ProtocolName& p : kProtocols) {
                if (value == p.name) {
                    config.protocol = p.protocol;
                    if (!baudGiven) config.baud = p.baud;
                    found = true;
                }
            }
            if (!found) {
                std::fprintf(stderr, "unknown protocol %s\n", value.c_str());
                printUsage(stderr, argv[0]);
                return 2;
            }
        } else if (opt == "--baud") {
            config.baud = std::atoi(value.c_str());
            baudGiven = true;
        } else if (opt == "--key") {
            config.key = std::atoi(value.c_str());
        } else if (opt == "--subversion") {
            config.subVersion = std::atoi(value.c_str());
        } else if (opt == "--frame-size") {
            config.frameSize = std::atoi(value.c_str());
        } else {
            link = value;
        }
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    unitsim::UnitSim sim(config);
    std::string path = sim.slavePath();
    if (!link.empty()) {
        std::error_code ec;
        std::filesystem::remove(link, ec);
        std::filesystem::create_symlink(sim.slavePath(), link, ec);
        if (ec) {
            std::fprintf(stderr, "cannot link %s: %s\n", link.c_str(), ec.message().c_str());
            return 1;
        }
        path = link;
    }
    std::printf("simulated unit on %s (key %d, %d baud)\nstart the program with KELVORA_PORTS=200=%s\n",
                sim.slavePath().c_str(), config.key, config.baud, path.c_str());
    std::fflush(stdout);
    // An engine on the road, its values moving twice a second.
    for (int tick = 0; !g_stop; ++tick) {
        if (tick % 5 == 0) sim.setRunningEngine(tick / 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (!link.empty()) {
        std::error_code ec;
        std::filesystem::remove(link, ec);
    }
    return 0;
}
