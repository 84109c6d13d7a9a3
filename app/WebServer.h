// `mesra serve`: the five tools in a browser page on the user's own drawing. A local web
// server (cpp-httplib) gives the page and carries its events to a WebSession.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

#include "app/CommandLine.h"
#include "app/WebConnections.h"

namespace app {

class WebSession;

// The largest drawing the page may upload.
constexpr std::size_t kMaxUpload = 64u << 20;

struct ServeOptions {
    std::string bindHost = "127.0.0.1";  // the address listened on
    int port = 8080;                     // 0: any free port
    std::filesystem::path document;      // opened at the start; none: a blank page
    std::filesystem::path plugin;        // the plug-in file, in its plug-ins folder
    ConnectionLimits limits;             // how long and how many connections may take
};

class WebServer {
  public:
    // Requests and refusals are logged to `log`, one line each.
    WebServer(ServeOptions options, std::ostream& log);
    ~WebServer();
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    // Starts the plug-in, opens the document and binds the address. False with the reason.
    bool Start(std::string* error);
    // After a failed Start: true when the document was the reason (it is no drawing).
    bool DocumentFailed() const { return documentFailed_; }
    // The port bound (after Start).
    int Port() const { return port_; }
    // The address to open: "http://HOST:PORT/".
    std::string Address() const;
    // Serves requests until Stop (from another thread or a signal's thread).
    void Run();
    void Stop();

  private:
    class Routes;
    ServeOptions options_;
    std::ostream& log_;
    int port_ = 0;
    bool documentFailed_ = false;
    std::unique_ptr<WebSession> session_;
    std::unique_ptr<Routes> routes_;
};

// `mesra serve`: serves until Ctrl+C (or SIGTERM). Returns the exit status: 0 after a stop,
// 1 when the server cannot start (the port taken, the plug-in failing), 2 when the drawing
// cannot be read.
int RunServe(const CommandLine& options, const std::filesystem::path& plugin, std::ostream& out,
             std::ostream& err);

}  // namespace app
