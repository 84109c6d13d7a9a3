#include "app/WebServer.h"

#include <httplib.h>
#include <signal.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string_view>
#include <thread>

#include "app/ServePage.h"
#include "app/WebSession.h"

namespace app {

namespace {

constexpr const char* kJson = "application/json; charset=utf-8";

// The number a parameter holds; nothing when it holds none.
std::optional<double> NumberParameter(const httplib::Request& request, const char* name) {
    if (!request.has_param(name)) {
        return std::nullopt;
    }
    const std::string text = request.get_param_value(name);
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; std::getline(in, word, ',');) {
        if (!word.empty()) {
            words.push_back(word);
        }
    }
    return words;
}

void Refuse(httplib::Response& response, int status, const std::string& message) {
    response.status = status;
    response.set_content(message + "\n", "text/plain; charset=utf-8");
}

}  // namespace

// The server and its routes.
class WebServer::Routes {
  public:
    Routes(WebServer& owner) : owner_(owner) {}

    httplib::Server server;

    void Install() {
        server.set_payload_max_length(kMaxUpload);
        // Answers leave at once: a move's answer must not wait for the page's next packet.
        server.set_tcp_nodelay(true);
        server.set_pre_routing_handler(
            [this](const httplib::Request& request, httplib::Response& response) {
                return Guard(request, response);
            });
        server.set_exception_handler(
            [](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
                Refuse(response, 500, "internal error");
            });
        server.set_logger([this](const httplib::Request& request, const httplib::Response& res) {
            if (res.status >= 400) {
                std::lock_guard lock(logMutex_);
                owner_.log_ << "mesra serve: " << request.method << " " << request.path << " "
                            << res.status << "\n";
            }
        });
        WebSession& session = *owner_.session_;
        server.Get("/", [](const httplib::Request&, httplib::Response& response) {
            response.set_header("Content-Security-Policy",
                                "default-src 'self'; script-src 'self' 'unsafe-inline'; "
                                "style-src 'self' 'unsafe-inline'; img-src 'self' data:");
            response.set_content(kServePage, "text/html; charset=utf-8");
        });
        server.Get("/state", [&session](const httplib::Request&, httplib::Response& response) {
            response.set_content(session.State(), kJson);
        });
        server.Get("/document.svg", [&session](const httplib::Request& request,
                                               httplib::Response& response) {
            if (request.has_param("download")) {
                response.set_header("Content-Disposition",
                                    "attachment; filename=\"" + session.DownloadName() + "\"");
            }
            response.set_header("Cache-Control", "no-store");
            response.set_content(session.DocumentSvg(), "image/svg+xml");
        });
        server.Get(R"(/image/(\d{1,6})\.png)",
                   [&session](const httplib::Request& request, httplib::Response& response) {
                       const auto png = session.Image(std::stoi(request.matches[1]));
                       if (!png) {
                           return Refuse(response, 404, "no such image");
                       }
                       response.set_content(*png, "image/png");
                   });
        server.Get(R"(/sound/([A-Za-z]{1,32}\.wav))",
                   [&session](const httplib::Request& request, httplib::Response& response) {
                       const auto wav = session.Sound(request.matches[1]);
                       if (!wav) {
                           return Refuse(response, 404, "no such sound");
                       }
                       response.set_content(*wav, "audio/wav");
                   });
        server.Post("/event", [&session](const httplib::Request& request,
                                         httplib::Response& response) {
            const auto x = NumberParameter(request, "x");
            const auto y = NumberParameter(request, "y");
            const auto update = x && y ? session.MouseEvent(request.get_param_value("kind"), *x, *y,
                                                            Words(request.get_param_value("keys")))
                                       : std::nullopt;
            if (!update) {
                return Refuse(response, 400, "an event is kind=move|down|drag|up, x, y, keys");
            }
            response.set_content(*update, kJson);
        });
        server.Post("/tool", [&session](const httplib::Request& request,
                                        httplib::Response& response) {
            const auto tool = NumberParameter(request, "tool");
            const auto update = tool ? session.ChooseTool(static_cast<int>(*tool)) : std::nullopt;
            if (!update) {
                return Refuse(response, 400, "no such tool");
            }
            response.set_content(*update, kJson);
        });
        server.Post(
            "/view", [&session](const httplib::Request& request, httplib::Response& response) {
                const auto zoom = NumberParameter(request, "zoom");
                const auto x = NumberParameter(request, "x");
                const auto y = NumberParameter(request, "y");
                const auto width = NumberParameter(request, "width");
                const auto height = NumberParameter(request, "height");
                const auto update = zoom && x && y && width && height
                                        ? session.SetView(*zoom, *x, *y, static_cast<int>(*width),
                                                          static_cast<int>(*height))
                                        : std::nullopt;
                if (!update) {
                    return Refuse(response, 400,
                                  "a view is zoom (0.0313 to 640), x, y, width and height");
                }
                response.set_content(*update, kJson);
            });
        server.Post(
            "/open", [&session](const httplib::Request& request, httplib::Response& response) {
                std::string error;
                const auto update =
                    session.OpenDocument(request.body, request.get_param_value("name"), &error);
                if (!update) {
                    return Refuse(response, 415, error);
                }
                response.set_content(*update, kJson);
            });
        // An upload over the limit: the library refuses it before any route; the page gets
        // a sentence it can show.
        server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
            if (response.status == 413) {
                response.set_content("Ce fichier dépasse la taille permise (64 Mo).\n",
                                     "text/plain; charset=utf-8");
            } else if (response.body.empty()) {
                response.set_content(response.status == 404 ? "not found\n" : "bad request\n",
                                     "text/plain; charset=utf-8");
            }
        });
    }

  private:
    // Requests whose Host or Origin is not this server's are refused: a page of another
    // site that a browser lets reach this address (a DNS name rebound to it, a form posted
    // across sites) gets nothing.
    httplib::Server::HandlerResponse Guard(const httplib::Request& request,
                                           httplib::Response& response) {
        std::string port = ":";
        port += std::to_string(owner_.port_);
        std::set<std::string> hosts = {"127.0.0.1" + port, "localhost" + port, "[::1]" + port,
                                       owner_.options_.bindHost + port};
        const std::string host = request.get_header_value("Host");
        const std::string origin = request.get_header_value("Origin");
        if (hosts.count(host) == 0) {
            Refuse(response, 403, "this server answers to its own address only");
            return httplib::Server::HandlerResponse::Handled;
        }
        // A page of this server sends "http://" and its own address; any other origin ("null"
        // from a sandboxed page or a file included) is another site.
        constexpr std::string_view kScheme = "http://";
        if (request.has_header("Origin") &&
            (origin.rfind(kScheme, 0) != 0 || hosts.count(origin.substr(kScheme.size())) == 0)) {
            Refuse(response, 403, "requests from other sites are refused");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    }

    WebServer& owner_;
    std::mutex logMutex_;
};

WebServer::WebServer(ServeOptions options, std::ostream& log)
    : options_(std::move(options)), log_(log) {}

WebServer::~WebServer() = default;

bool WebServer::Start(std::string* error) {
    std::string svg;
    if (!options_.document.empty()) {
        std::ifstream in(options_.document, std::ios::binary);
        if (!in) {
            *error = options_.document.string() + ": cannot be read";
            documentFailed_ = true;
            return false;
        }
        svg.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    session_ = std::make_unique<WebSession>();
    if (!session_->Start(options_.plugin, svg, options_.document.filename().string(), error,
                         &documentFailed_)) {
        if (documentFailed_) {
            *error = options_.document.string() + ": " + *error;
        }
        return false;
    }
    routes_ = std::make_unique<Routes>(*this);
    routes_->Install();
    if (options_.port == 0) {
        port_ = routes_->server.bind_to_any_port(options_.bindHost);
    } else {
        port_ = routes_->server.bind_to_port(options_.bindHost, options_.port) ? options_.port : -1;
    }
    if (port_ < 0) {
        *error = "cannot listen on " + options_.bindHost + ":" + std::to_string(options_.port);
        return false;
    }
    return true;
}

std::string WebServer::Address() const {
    const std::string host = options_.bindHost.find(':') != std::string::npos
                                 ? "[" + options_.bindHost + "]"
                                 : options_.bindHost;
    return "http://" + host + ":" + std::to_string(port_) + "/";
}

void WebServer::Run() {
    routes_->server.listen_after_bind();
}

void WebServer::Stop() {
    if (routes_ != nullptr) {
        routes_->server.stop();
    }
}

int RunServe(const CommandLine& options, const std::filesystem::path& plugin, std::ostream& out,
             std::ostream& err) {
    ServeOptions serve;
    serve.bindHost = options.host.empty() ? "127.0.0.1" : options.host;
    serve.port = options.port;
    serve.document = options.document;
    serve.plugin = plugin;
    if (!serve.document.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(serve.document, ec)) {
            err << "mesra: " << serve.document.string() << ": no such file\n";
            return 2;
        }
    }
    // Ctrl+C and SIGTERM stop the server from a thread of their own.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    WebServer server(serve, err);
    std::string error;
    if (!server.Start(&error)) {
        err << "mesra: " << error << "\n";
        return server.DocumentFailed() ? 2 : 1;
    }
    out << "mesra: serving " << (serve.document.empty() ? "a blank page" : serve.document.string())
        << " at " << server.Address() << " (Ctrl+C stops)\n"
        << std::flush;
    std::thread stopper([&server, signals] {
        int received = 0;
        sigwait(&signals, &received);
        server.Stop();
    });
    server.Run();
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return 0;
}

}  // namespace app
