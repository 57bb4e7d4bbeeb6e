#include "shell/loader.h"

#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <cctype>
#include <charconv>
#include <sstream>

#include "shell/appsettings.h"
#include "shell/mainform.h"
#include "vcl/qtcolor.h"

void OnLoaderMessage(TMainForm& w, int port, unsigned code)
{
    const int inUse = w.link->portInUse.load(std::memory_order_relaxed);
    if (inUse != 0 && port == inUse) {
        if (code == kLoaderRelease) {
            ReleasePort(w);
            ApplyLanguage(w);
        } else if (code == kLoaderResetAndRelease) {
            w.requestCode = 129;
        }
    }
    if (port == w.releasedPort && code == kLoaderGiveBack) {
        ReclaimPort(w);
        ApplyLanguage(w);
    }
}

bool ParseLoaderLine(const std::string& line, int& port, unsigned& code)
{
    std::istringstream in(line);
    std::string portText, codeText, rest;
    if (!(in >> portText >> codeText) || (in >> rest))
        return false;
    const auto [p, pe] = std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (pe != std::errc() || p != portText.data() + portText.size() || port <= 0 || port > 255)
        return false;
    std::string upper = codeText;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper == "RELEASE") {
        code = kLoaderRelease;
        return true;
    }
    if (upper == "RESET") {
        code = kLoaderResetAndRelease;
        return true;
    }
    if (upper == "RECLAIM") {
        code = kLoaderGiveBack;
        return true;
    }
    int base = 10;
    const char* first = codeText.data();
    const char* last = codeText.data() + codeText.size();
    if (codeText.size() > 2 && codeText[0] == '0' && (codeText[1] == 'x' || codeText[1] == 'X')) {
        base = 16;
        first += 2;
    }
    const auto [c, ce] = std::from_chars(first, last, code, base);
    return ce == std::errc() && c == last;
}

LoaderEndpoint::LoaderEndpoint(TMainForm& w, const std::string& serverName)
    : m_w(w), m_server(std::make_unique<QLocalServer>())
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    const QString name = vcl::Q(serverName);
    if (!m_server->listen(name)) {
        // A socket left by a program that ended without cleaning up; one that still answers is another program.
        QLocalSocket probe;
        probe.connectToServer(name);
        if (!probe.waitForConnected(100)) {
            QLocalServer::removeServer(name);
            m_server->listen(name);
        }
    }
    QObject::connect(m_server.get(), &QLocalServer::newConnection, m_server.get(), [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                while (socket->canReadLine()) {
                    const std::string line = vcl::S(QString::fromUtf8(socket->readLine(256)).trimmed());
                    int port = 0;
                    unsigned code = 0;
                    if (ParseLoaderLine(line, port, code)) {
                        OnLoaderMessage(m_w, port, code);
                        socket->write("0\n");
                    } else {
                        socket->write("?\n");
                    }
                }
                // A loader that sends a long line without an end is not served further.
                if (socket->bytesAvailable() > 256)
                    socket->abort();
            });
        }
    });
}

LoaderEndpoint::~LoaderEndpoint()
{
    if (m_server)
        m_server->close();
}

bool LoaderEndpoint::listening() const { return m_server && m_server->isListening(); }

std::string LoaderEndpoint::serverName() const { return m_server ? vcl::S(m_server->fullServerName()) : std::string(); }

std::string LoaderEndpoint::defaultName() { return "kelvora12-309-" + std::to_string(::getuid()); }

void OnFilesDropped(TMainForm& w, const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        if (path.size() < 4)
            continue;
        std::string tail = path.substr(path.size() - 4);
        for (char& c : tail)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (tail != ".ign")
            continue;
        // Linux file names tell case apart: the file is opened under the name it was dropped with.
        w.OpenDialog1->FileName = path;
        w.SaveDialog1->FileName = path;
        w.OpenSettingsFile(path, true);
        return;
    }
}
