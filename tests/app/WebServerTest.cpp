// The server of `mesra serve` in process, asked as a browser and as other pages would ask
// it: a whole road with the Segment tool, then the refusals (another Host or Origin,
// uploads too big or not SVG, paths outside what it serves) and requests from many
// threads at once.
#include <gtest/gtest.h>
#include <httplib.h>

#include <sstream>
#include <thread>

#include "app/WebServer.h"
#include "tests/support/SessionFixture.h"

namespace {

const char* const kDrawing = R"(<svg xmlns="http://www.w3.org/2000/svg" width="400" height="300">
  <path d="M 50 100 L 150 100" fill="none" stroke="black"/>
</svg>)";

class WebServerTest : public testing_support::SessionFixture {
  protected:
    void SetUp() override {
        Write("drawing.svg", kDrawing);
        app::ServeOptions options;
        options.port = 0;
        options.document = folder_.Path() / "drawing.svg";
        options.plugin = plugin_;
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
    EXPECT_EQ(download->get_header_value("Content-Disposition"),
              "attachment; filename=\"drawing-cotes.svg\"");
    EXPECT_EQ(client_->Get("/image/16051.png")->status, 200);
    EXPECT_EQ(client_->Get("/sound/BipPoint.wav")->status, 200);

    // Another drawing uploaded replaces it.
    const auto opened = client_->Post("/open?name=other.svg", kDrawing, "image/svg+xml");
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->status, 200);
    EXPECT_EQ(client_->Get("/document.svg")->body.find("100 pt"), std::string::npos);
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
    for (const char* path : {"/event?kind=jump&x=1&y=1", "/event?kind=move&x=nan&y=1",
                             "/event?kind=move&x=1&y=1&keys=hyper", "/tool?tool=0",
                             "/view?zoom=0&x=0&y=0&width=10&height=10"}) {
        const auto answer = Post(path);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->status, 400) << path;
    }
    auto upload = client_->Post("/open?name=notes.txt", "hello", "text/plain");
    ASSERT_TRUE(upload);
    EXPECT_EQ(upload->status, 415);
    EXPECT_NE(upload->body.find("n'est pas un dessin SVG"), std::string::npos) << upload->body;
    upload =
        client_->Post("/open?name=big.svg", std::string(app::kMaxUpload + 1, ' '), "image/svg+xml");
    ASSERT_TRUE(upload);
    EXPECT_EQ(upload->status, 413);
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

}  // namespace
