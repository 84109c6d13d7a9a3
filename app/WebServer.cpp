#include "app/WebServer.h"

#include <httplib.h>
#include <signal.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <set>
#include <sstream>
#include <string_view>
#include <thread>

#include "app/ServePage.h"
#include "app/WebSession.h"

namespace app {

namespace {

constexpr const char* kJson = "application/json; charset=utf-8";
// The largest view the page may ask for, in pixels each way.
constexpr int kMaxViewPixels = 10000;

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

// The whole number a parameter holds, from `low` to `high`; nothing otherwise.
std::optional<int> IntegerParameter(const httplib::Request& request, const char* name, int low,
                                    int high) {
    const auto value = NumberParameter(request, name);
    if (!value || *value < low || *value > high || *value != std::floor(*value)) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
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

// How a download is named: the name as a quoted string for every browser (its characters
// beyond ASCII each written "_", a quote and a backslash escaped) and whole, as UTF-8, in
// filename* for those that read it. No control character goes into the header: a NUL
// would end it early, a line break start another header.
std::string ContentDisposition(const std::string& name) {
    constexpr std::string_view kAttributeMarks = "!#$&+-.^_`|~";
    std::string quoted;
    std::string encoded;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            continue;
        }
        if (byte >= 0x80) {
            quoted += (byte & 0xc0) == 0x80 ? "" : "_";
        } else {
            quoted += c == '"' || c == '\\' ? "\\" : "";
            quoted += c;
        }
        if ((byte < 0x80 && std::isalnum(byte) != 0) ||
            kAttributeMarks.find(c) != std::string_view::npos) {
            encoded += c;
        } else {
            constexpr std::string_view kHex = "0123456789ABCDEF";
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0xf];
        }
    }
    return "attachment; filename=\"" + quoted + "\"; filename*=UTF-8''" + encoded;
}

// The library's own connection handling gives each connection one of a few threads for
// its whole life, however slowly it sends; this server hands its connections to
// WebConnections instead, which gives a worker only a request whose head has come in.
class HttpServer final : public httplib::Server {
  public:
    explicit HttpServer(const ConnectionLimits& limits)
        : connections_(limits, [this](httplib::Stream& stream, bool* closed) {
              bool connectionClosed = false;
              const bool answered = process_request(stream, false, connectionClosed, nullptr);
              *closed = connectionClosed;
              return answered;
          }) {
        // Accepted sockets go straight to the connections, on the accepting thread.
        new_task_queue = [] { return new AcceptedQueue; };
        set_keep_alive_timeout(
            std::chrono::duration_cast<std::chrono::seconds>(limits.idle).count());
    }

    void StopConnections() { connections_.Stop(); }

  private:
    class AcceptedQueue final : public httplib::TaskQueue {
      public:
        void enqueue(std::function<void()> task) override { task(); }
        void shutdown() override {}
    };

    bool process_and_close_socket(socket_t socket) override {
        connections_.Add(socket);
        return true;
    }

    WebConnections connections_;
};

}  // namespace

// The server and its routes.
class WebServer::Routes {
  public:
    explicit Routes(WebServer& owner) : server(owner.options_.limits), owner_(owner) {}

    HttpServer server;

    void Install() {
        server.set_payload_max_length(kMaxUpload);
        // Answers leave at once: a move's answer must not wait for the page's next packet.
        server.set_tcp_nodelay(true);
        server.set_pre_routing_handler(
            [this](const httplib::Request& request, httplib::Response& response) {
                SendUncompressed(request);
                return Guard(request, response);
            });
        server.set_exception_handler(
            [](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
                Refuse(response, 500, "Erreur interne du serveur.");
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
        server.Get("/document.svg",
                   [&session](const httplib::Request& request, httplib::Response& response) {
                       if (request.has_param("download")) {
                           response.set_header("Content-Disposition",
                                               ContentDisposition(session.DownloadName()));
                       }
                       response.set_header("Cache-Control", "no-store");
                       response.set_content(session.DocumentSvg(), "image/svg+xml");
                   });
        server.Get(R"(/image/(\d{1,6})\.png)",
                   [&session](const httplib::Request& request, httplib::Response& response) {
                       const auto png = session.Image(std::stoi(request.matches[1]));
                       if (!png) {
                           return Refuse(response, 404, "Cette image n'existe pas.");
                       }
                       response.set_content(*png, "image/png");
                   });
        server.Get(R"(/sound/([A-Za-z]{1,32}\.wav))",
                   [&session](const httplib::Request& request, httplib::Response& response) {
                       const auto wav = session.Sound(request.matches[1]);
                       if (!wav) {
                           return Refuse(response, 404, "Ce son n'existe pas.");
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
                return Refuse(response, 400,
                              "Événement refusé : il faut kind (move, down, drag ou up), x et y "
                              "(des pixels de la vue) et keys.");
            }
            response.set_content(*update, kJson);
        });
        server.Post("/tool", [&session](const httplib::Request& request,
                                        httplib::Response& response) {
            const auto tool = IntegerParameter(request, "tool", 0, std::numeric_limits<int>::max());
            const auto update = tool ? session.ChooseTool(*tool) : std::nullopt;
            if (!update) {
                return Refuse(response, 400, "Cet outil n'existe pas.");
            }
            response.set_content(*update, kJson);
        });
        server.Post(
            "/view", [&session](const httplib::Request& request, httplib::Response& response) {
                const auto zoom = NumberParameter(request, "zoom");
                const auto x = NumberParameter(request, "x");
                const auto y = NumberParameter(request, "y");
                const auto width = IntegerParameter(request, "width", 1, kMaxViewPixels);
                const auto height = IntegerParameter(request, "height", 1, kMaxViewPixels);
                const auto update = zoom && x && y && width && height
                                        ? session.SetView(*zoom, *x, *y, *width, *height)
                                        : std::nullopt;
                if (!update) {
                    return Refuse(response, 400,
                                  "Vue refusée : il faut un zoom (de 0,0313 à 640), x, y, une "
                                  "largeur et une hauteur (de 1 à 10 000 pixels).");
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
        InstallUndoAndPicker(session);
        // What the library refuses before any route, in a sentence the page can show: a
        // file over the upload limit, or a form body over the library's own limit for forms
        // (the page sends none: its parameters go in the address).
        server.set_error_handler([](const httplib::Request& request, httplib::Response& response) {
            if (response.status == 413) {
                const bool form = request.get_header_value("Content-Type")
                                      .rfind("application/x-www-form-urlencoded", 0) == 0;
                const bool overLimit =
                    request.get_header_value<std::uint64_t>("Content-Length") > kMaxUpload;
                Refuse(response, 413,
                       form && !overLimit
                           ? "Ce formulaire dépasse la taille permise (8 Ko) : un dessin "
                             "s'envoie tel quel, pas comme un formulaire."
                           : "Ce fichier dépasse la taille permise (64 Mo).");
            } else if (response.body.empty()) {
                Refuse(response, response.status,
                       response.status == 404 ? "Cette adresse n'existe pas." : "Requête refusée.");
            }
        });
    }

  private:
    // Undo and redo, and the colour dialog's answer.
    void InstallUndoAndPicker(WebSession& session) {
        server.Post("/undo", [&session](const httplib::Request&, httplib::Response& response) {
            response.set_content(session.Undo(), kJson);
        });
        server.Post("/redo", [&session](const httplib::Request&, httplib::Response& response) {
            response.set_content(session.Redo(), kJson);
        });
        server.Post("/picker", [&session](const httplib::Request& request,
                                          httplib::Response& response) {
            std::vector<double> values;
            bool numbers = true;
            for (const std::string& word : Words(request.get_param_value("values"))) {
                char* end = nullptr;
                values.push_back(std::strtod(word.c_str(), &end));
                numbers = numbers && end == word.c_str() + word.size();
            }
            const auto update = numbers
                                    ? session.AnswerPicker(request.get_param_value("form"), values,
                                                           request.get_param_value("name"))
                                    : std::nullopt;
            if (!update) {
                return Refuse(response, 400,
                              "Couleur refusée : aucune couleur n'est demandée, ou il faut gray, "
                              "rgb, cmyk ou spot (avec un nom) et des valeurs de 0 à 1.");
            }
            response.set_content(*update, kJson);
        });
    }

    // Answers go as they are: the page and this server share a machine, where compressing
    // costs far more than the bytes it saves (brotli at the library's quality takes two
    // seconds over the picture of a drawing of 10,000 paths, and milliseconds over each
    // answer to the mouse). The library compresses for the encodings that a request
    // accepts, so that is forgotten; the request is the library's own, only handed over
    // read-only.
    static void SendUncompressed(const httplib::Request& request) {
        const_cast<httplib::Request&>(request).headers.erase("Accept-Encoding");
    }

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
            Refuse(response, 403, "Ce serveur ne répond qu'à sa propre adresse.");
            return httplib::Server::HandlerResponse::Handled;
        }
        // A page of this server sends "http://" and its own address; any other origin ("null"
        // from a sandboxed page or a file included) is another site.
        constexpr std::string_view kScheme = "http://";
        if (request.has_header("Origin") &&
            (origin.rfind(kScheme, 0) != 0 || hosts.count(origin.substr(kScheme.size())) == 0)) {
            Refuse(response, 403, "Les requêtes venues d'autres sites sont refusées.");
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
        routes_->server.StopConnections();
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
