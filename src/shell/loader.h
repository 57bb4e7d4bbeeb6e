#pragma once
// Messages from a firmware loader that needs the unit's serial port for a while, and files dropped on the window.
#include <memory>
#include <string>
#include <vector>

class TMainForm;
class QLocalServer;

inline constexpr unsigned kLoaderRelease = 0x7FFFFFA1;          // the loader wants the port
inline constexpr unsigned kLoaderResetAndRelease = 0x7FFFFFA2;  // reset the unit first, then release
inline constexpr unsigned kLoaderGiveBack = 0x7FFFFFA4;         // the loader is done with the port

// The loader message (port number, code), handled on the main thread.
void OnLoaderMessage(TMainForm& w, int port, unsigned code);

// Reads one request line of the loader socket: "<port> <code>", the code as a number (decimal or 0x...) or as
// RELEASE, RESET or RECLAIM. False when the line is not such a request.
bool ParseLoaderLine(const std::string& line, int& port, unsigned& code);

// The per-user local socket on which loaders send their requests; only this user can connect.
class LoaderEndpoint final {
public:
    explicit LoaderEndpoint(TMainForm& w, const std::string& name = defaultName());
    ~LoaderEndpoint();
    [[nodiscard]] bool listening() const;
    [[nodiscard]] std::string serverName() const;
    // The socket name of this user's program.
    [[nodiscard]] static std::string defaultName();

private:
    TMainForm& m_w;
    std::unique_ptr<QLocalServer> m_server;
};

// Files dropped on the window: the first whose name ends in ".ign" (any case) is opened, its name kept as it is.
void OnFilesDropped(TMainForm& w, const std::vector<std::string>& paths);
