// The server of `mesra serve` in process, asked as a browser and as other pages would ask
// it: a whole road with the Segment tool, then the refusals (another Host or Origin,
// uploads too big or not SVG, numbers out of range, paths outside what it serves),
// requests from many threads at once, many ranges, and clients that send too slowly.
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <sstream>
#include <thread>

#include "app/WebServer.h"
#include "tests/support/SessionFixture.h"

namespace {

const char* const kDrawing = R"(<svg xmlns="http://www.w3.org/2000/svg" width="400" height="300">
  <path d="M 50 100 L 150 100" fill="none" stroke="black"/>
</svg>)";

// A socket connected to the server on this machine.
int Connect(int port) {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    return socket;
}

// What the server says on `socket` until it closes (or is silent for 10 s).
std::string Heard(int socket) {
    std::string heard;
    pollfd polled{socket, POLLIN, 0};
    char buffer[4096];
    while (::poll(&polled, 1, 10'000) > 0) {
        const ssize_t n = ::recv(socket, buffer, sizeof buffer, 0);
        if (n <= 0) {
            break;
        }
        heard.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(socket);
    return heard;
}

class WebServerTest : public testing_support::SessionFixture {
  protected:
    void SetUp() override {
        Write("drawing.svg", kDrawing);
        app::ServeOptions options;
        options.port = 0;
        options.document = folder_.Path() / "drawing.svg";
        options.plugin = plugin_;
        options.limits = limits_;
        server_ = std::make_unique<app::WebServer>(options, log_);
        std::string error;
        ASSERT_TRUE(server_->Start(&error)) << error;
        thread_ = std::thread([this] { server_->Run(); });
        client_ = std::make_unique<httplib::Client>("127.0.0.1", server_->Port());
    }
    void TearDown() override {
        server_->Stop();
        thread_.join();
    }

    // A POST of the page: its parameters in the query, an empty body.
    httplib::Result Post(const std::string& path) { return client_->Post(path, "", "text/plain"); }

    // The header of that name in the answer to a GET of `path`, as it is sent (the
    // library's client decodes %-escapes in header values).
    std::string RawHeader(const std::string& path, const std::string& name) {
        const int socket = Connect(server_->Port());
        const std::string request =
            "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server_->Port()) +
            "\r\nConnection: close\r\n\r\n";
        ::send(socket, request.data(), request.size(), MSG_NOSIGNAL);
        const std::string heard = Heard(socket);
        const std::size_t at = heard.find("\r\n" + name + ": ");
        if (at == std::string::npos) {
            return "";
        }
        const std::size_t from = at + name.size() + 4;
        return heard.substr(from, heard.find("\r\n", from) - from);
    }

    app::ConnectionLimits limits_;
    std::ostringstream log_;
    std::unique_ptr<app::WebServer> server_;
    std::thread thread_;
    std::unique_ptr<httplib::Client> client_;
};

TEST_F(WebServerTest, TheSegmentToolMeasuresThroughThePage) {
    auto page = client_->Get("/");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("<title>Mesra</title>"), std::string::npos);
    auto state = client_->Get("/state");
    ASSERT_TRUE(state);
    const std::size_t segment = state->body.find("\"name\":\"Outil Segment\"");
    ASSERT_NE(segment, std::string::npos) << state->body;
    const std::string number = state->body.substr(state->body.rfind("\"number\":", segment) + 9);
    ASSERT_EQ(Post("/tool?tool=" + number.substr(0, number.find(',')))->status, 200);

    // The view shows user units as pixels: a click on each end, a drag that places it.
    for (const char* event :
         {"move&x=50&y=100", "down&x=50&y=100", "up&x=50&y=100", "move&x=150&y=100",
          "down&x=150&y=100", "drag&x=100&y=70", "up&x=100&y=70"}) {
        const auto answer = Post(std::string("/event?keys=&kind=") + event);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->status, 200) << event;
    }
    const auto moved = Post("/event?kind=move&x=150&y=100&keys=shift");
    ASSERT_TRUE(moved);
    EXPECT_NE(moved->body.find("\"annotation\":\"<"), std::string::npos) << moved->body;
    const auto download = client_->Get("/document.svg?download=1");
    ASSERT_TRUE(download);
    EXPECT_NE(download->body.find("100 pt"), std::string::npos);
    EXPECT_EQ(RawHeader("/document.svg?download=1", "Content-Disposition"),
              "attachment; filename=\"drawing-cotes.svg\"; filename*=UTF-8''drawing-cotes.svg");
    EXPECT_EQ(client_->Get("/image/16051.png")->status, 200);
    EXPECT_EQ(client_->Get("/sound/BipPoint.wav")->status, 200);
    // Undo takes the dimension out of the download, redo puts it back.
    const auto undone = Post("/undo");
    ASSERT_TRUE(undone);
    EXPECT_NE(undone->body.find("\"canUndo\":false,\"canRedo\":true"), std::string::npos)
        << undone->body;
    EXPECT_EQ(client_->Get("/document.svg")->body.find("100 pt"), std::string::npos);
    ASSERT_EQ(Post("/redo")->status, 200);
    EXPECT_NE(client_->Get("/document.svg")->body.find("100 pt"), std::string::npos);

    // Another drawing uploaded replaces it, and its name, whatever it holds, names the
    // download without adding to the header: `plan "A"; côté.svg`, then one with a NUL.
    const auto opened = client_->Post("/open?name=plan%20%22A%22%3B%20c%C3%B4t%C3%A9.svg", kDrawing,
                                      "image/svg+xml");
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->status, 200);
    const auto renamed = client_->Get("/document.svg?download=1");
    EXPECT_EQ(renamed->body.find("100 pt"), std::string::npos);
    EXPECT_EQ(RawHeader("/document.svg?download=1", "Content-Disposition"),
              "attachment; filename=\"plan \\\"A\\\"; c_t_-cotes.svg\"; "
              "filename*=UTF-8''plan%20%22A%22%3B%20c%C3%B4t%C3%A9-cotes.svg");
    ASSERT_EQ(client_->Post("/open?name=a%00b.svg", kDrawing, "image/svg+xml")->status, 200);
    EXPECT_EQ(RawHeader("/document.svg?download=1", "Content-Disposition"),
              "attachment; filename=\"ab-cotes.svg\"; filename*=UTF-8''ab-cotes.svg");
    // A drawing just opened has nothing to take back, and says so in French.
    const auto nothing = Post("/undo");
    ASSERT_TRUE(nothing);
    EXPECT_NE(nothing->body.find("\"notice\":\"Rien à annuler"), std::string::npos)
        << nothing->body;
}

TEST_F(WebServerTest, RefusesWhatIsNotItsOwn) {
    const std::string port = std::to_string(server_->Port());
    const struct {
        httplib::Headers headers;
        int status;
    } cases[] = {
        {{{"Host", "evil.example:" + port}}, 403},
        {{{"Host", "127.0.0.1:1"}}, 403},
        {{{"Origin", "http://evil.example"}}, 403},
        {{{"Origin", "https://127.0.0.1:" + port}}, 403},
        {{{"Origin", "null"}}, 403},
        {{{"Origin", "http://localhost:" + port}}, 200},
        {{}, 200},
    };
    for (const auto& c : cases) {
        const auto answer = client_->Get("/state", c.headers);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->status, c.status);
    }
    for (const char* path : {"/sound/passwd.wav", "/image/1.png", "/image/20001.svg",
                             "/../../etc/passwd", "/sound/..%2F..%2Fetc%2Fpasswd"}) {
        const auto answer = client_->Get(path);
        ASSERT_TRUE(answer);
        EXPECT_GE(answer->status, 400) << path;
        EXPECT_LT(answer->status, 500) << path;
    }
    // Numbers beyond an int, or beyond the host's single precision, are refused, not cast.
    for (const char* path :
         {"/event?kind=jump&x=1&y=1", "/event?kind=move&x=nan&y=1",
          "/event?kind=move&x=1&y=1&keys=hyper", "/event?kind=move&x=1e300&y=1",
          "/event?kind=drag&x=1&y=-1e39", "/tool?tool=0", "/tool?tool=1e300", "/tool?tool=-1e300",
          "/tool?tool=1.5", "/view?zoom=0&x=0&y=0&width=10&height=10",
          "/view?zoom=1&x=0&y=0&width=1e300&height=10",
          "/view?zoom=1&x=0&y=0&width=10&height=-1e19",
          "/view?zoom=1&x=0&y=0&width=800.5&height=600",
          // No colour dialog waits for an answer.
          "/picker?form=rgb&values=1,0,0"}) {
        const auto answer = Post(path);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->status, 400) << path;
    }
    // Why a file is no drawing, in French.
    const std::string refused = "Ce fichier n'est pas un dessin SVG lisible : ";
    const struct {
        const char* bytes;
        std::string said;
    } files[] = {
        {"hello", refused + "ce n'est ni du texte XML ni un SVG compressé par gzip.\n"},
        {"<html/>", refused + "l'élément racine est <html>, pas <svg>.\n"},
        {R"(<!DOCTYPE svg [<!ENTITY a "&a;">]><svg>&a;</svg>)",
         refused + "l'entité « a » se désigne elle-même.\n"},
        {"<svg><g></svg>", refused + "erreur XML ligne 1, colonne "},
    };
    for (const auto& file : files) {
        const auto upload = client_->Post("/open?name=notes.svg", file.bytes, "image/svg+xml");
        ASSERT_TRUE(upload);
        EXPECT_EQ(upload->status, 415);
        EXPECT_EQ(upload->body.rfind(file.said, 0), 0u) << upload->body;
    }
    auto upload =
        client_->Post("/open?name=big.svg", std::string(app::kMaxUpload + 1, ' '), "image/svg+xml");
    ASSERT_TRUE(upload);
    EXPECT_EQ(upload->status, 413);
    EXPECT_NE(upload->body.find("64 Mo"), std::string::npos) << upload->body;
    // A form body over the library's limit for forms is no file over 64 MB.
    upload = client_->Post("/open?name=a.svg", std::string(9000, 'a'),
                           "application/x-www-form-urlencoded");
    ASSERT_TRUE(upload);
    EXPECT_EQ(upload->status, 413);
    EXPECT_NE(upload->body.find("formulaire"), std::string::npos) << upload->body;
    EXPECT_NE(log_.str().find("403"), std::string::npos) << "refusals are logged";
}

// Many pages at once: every request answered, none lost, the server still up.
TEST_F(WebServerTest, ConcurrentRequests) {
    std::vector<std::thread> threads;
    std::atomic<int> answered{0};
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&, t] {
            httplib::Client client("127.0.0.1", server_->Port());
            for (int i = 0; i < 30; ++i) {
                const std::string x = std::to_string(40 + (t * 30 + i) % 120);
                const auto answer = i % 3 == 0 ? client.Get("/state")
                                               : client.Post("/event?kind=move&keys=&y=100&x=" + x,
                                                             "", "text/plain");
                if (answer && answer->status == 200) {
                    ++answered;
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(answered, 180);
    EXPECT_EQ(client_->Get("/state")->status, 200);
}

// Ranges, many or overlapping, of a drawing of about 100 kB: each answer is the whole file, never
// a many-part answer that the library would build in memory (600 ranges of a 5 MB drawing
// were 3 GB, and the server died).
TEST_F(WebServerTest, RangesGetTheWholeFile) {
    std::string drawing = R"(<svg xmlns="http://www.w3.org/2000/svg" width="2000" height="100">)";
    for (int i = 0; i < 2000; ++i) {
        drawing += "<path d=\"M " + std::to_string(i) + " 0 L " + std::to_string(i) +
                   " 90\" stroke=\"black\"/>\n";
    }
    drawing += "</svg>";
    ASSERT_EQ(client_->Post("/open?name=lines.svg", drawing, "image/svg+xml")->status, 200);
    const auto whole = client_->Get("/document.svg");
    ASSERT_TRUE(whole);
    ASSERT_GT(whole->body.size(), 90'000u);
    std::string many = "bytes=0-";
    for (int i = 1; i < 600; ++i) {
        many += ",0-";
    }
    const std::pair<const char*, std::string> ranges[] = {
        {"Range", many},
        {"range", "bytes=0-10,5-20,-5"},
        {"RANGE", "bytes=100-99"},
    };
    for (const auto& [name, value] : ranges) {
        const auto answer = client_->Get("/document.svg", {{name, value}});
        ASSERT_TRUE(answer) << value.substr(0, 20);
        EXPECT_EQ(answer->status, 200) << value.substr(0, 20);
        EXPECT_TRUE(answer->body == whole->body)
            << value.substr(0, 20) << ": " << answer->body.size() << " bytes";
    }
}

// Clients that send slowly: the connection to a client that sends a line of its head every
// 250 ms, and has sent its first byte 2 s ago, is closed with a 408; one whose body has not
// come in whole 4 s after its head is cut.
class SlowClientTest : public WebServerTest {
  protected:
    void SetUp() override {
        limits_.head = std::chrono::seconds(2);
        limits_.body = std::chrono::seconds(4);
        WebServerTest::SetUp();
    }
};

// Eight slow clients took the library's eight threads: nobody else was answered until they
// closed. Now the page is answered meanwhile, and each of them is told its time is up.
TEST_F(SlowClientTest, ThePageIsAnsweredWhileTheyTrickle) {
    const std::string port = std::to_string(server_->Port());
    std::vector<int> slow;
    for (int i = 0; i < 8; ++i) {
        slow.push_back(Connect(server_->Port()));
    }
    const auto send = [](int socket, const std::string& text) {
        return ::send(socket, text.data(), text.size(), MSG_NOSIGNAL);
    };
    for (const int socket : slow) {
        send(socket, "GET /state HTTP/1.1\r\nHost: 127.0.0.1:" + port + "\r\n");
    }
    std::thread trickle([&] {
        for (int line = 0; line < 4; ++line) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            for (const int socket : slow) {
                send(socket, "X-Line: " + std::to_string(line) + "\r\n");
            }
        }
    });
    // Before, these waited for the slow clients' five-second read timeout.
    client_->set_read_timeout(3, 0);
    for (int i = 0; i < 3; ++i) {
        const auto answer = client_->Get("/state");
        EXPECT_EQ(answer ? answer->status : 0, 200) << "request " << i << " not answered";
    }
    trickle.join();
    for (const int socket : slow) {
        const std::string heard = Heard(socket);
        EXPECT_EQ(heard.rfind("HTTP/1.1 408", 0), 0u) << heard;
    }
}

// Twelve clients uploading a drawing a byte at a time took every worker for as long as they
// sent. Now the page is answered while they are still connected, and each of them is cut
// once its time for the body is up.
TEST_F(SlowClientTest, ThePageIsAnsweredWhileTheyUploadSlowly) {
    const std::string head =
        "POST /open?name=a.svg HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server_->Port()) +
        "\r\nContent-Type: image/svg+xml\r\nContent-Length: 1000000\r\n\r\n<";
    std::vector<int> slow;
    for (int i = 0; i < 12; ++i) {
        slow.push_back(Connect(server_->Port()));
        ::send(slow.back(), head.data(), head.size(), MSG_NOSIGNAL);
    }
    std::atomic<bool> done = false;
    std::thread trickle([&] {
        for (int byte = 0; byte < 120 && !done; ++byte) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            for (const int socket : slow) {
                ::send(socket, " ", 1, MSG_NOSIGNAL);
            }
        }
    });
    // The uploads' heads are in before the page asks: they hold what workers they may.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    client_->set_read_timeout(30, 0);
    for (int i = 0; i < 3; ++i) {
        const auto answer = client_->Get("/state");
        EXPECT_EQ(answer ? answer->status : 0, 200) << "request " << i << " not answered";
    }
    // Still connected: nothing heard from the server yet on any of them.
    int open = 0;
    for (const int socket : slow) {
        pollfd polled{socket, POLLIN, 0};
        open += ::poll(&polled, 1, 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(open, 12) << "the page was answered only once uploads were cut";
    // Each upload is then cut: the server closes its connection, well before 30 s.
    for (const int socket : slow) {
        pollfd polled{socket, POLLIN, 0};
        bool closed = false;
        char buffer[4096];
        while (!closed && ::poll(&polled, 1, 30'000) > 0) {
            closed = ::recv(socket, buffer, sizeof buffer, 0) <= 0;
        }
        EXPECT_TRUE(closed);
    }
    done = true;
    trickle.join();
    for (const int socket : slow) {
        ::close(socket);
    }
}

}  // namespace
