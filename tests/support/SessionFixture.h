// Sessions run as `mesra run` runs them, with a plug-in installed in a plug-ins folder of
// its own: the files a session reads and writes live in that folder, and each outcome keeps
// what the run printed.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/Session.h"
#include "emulator/core/ArtTree.h"
#include "emulator/core/Unicode.h"
#include "emulator/svg/SvgImport.h"
#include "tests/support/HostFixture.h"

namespace testing_support {

struct Outcome {
    int status = 0;
    std::string out;
    std::string err;
};

class SessionFixture : public testing::Test {
  protected:
    SessionFixture() : plugin_(InstallIn(folder_.Path())) {
        // A first run writes the preferences file, so that later runs start quietly.
        Session("new 10 10\n");
    }

    void Write(const std::string& name, const std::string& text) {
        std::ofstream(folder_.Path() / name) << text;
    }
    std::string Read(const std::string& name) {
        std::ifstream in(folder_.Path() / name);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Runs `script` as session.txt of the folder; the run must end with `expected` status,
    // and a successful run must print no error.
    Outcome Session(const std::string& script, int expected = 0) {
        Write("session.txt", script);
        app::SessionError error;
        const auto lines = app::ParseSession(script, &error);
        EXPECT_TRUE(lines.has_value()) << error.line << ": " << error.message;
        Outcome run;
        if (!lines) {
            return run;
        }
        app::CommandLine options;
        options.session = (folder_.Path() / "session.txt").string();
        std::ostringstream out;
        std::ostringstream err;
        run.status = app::RunSession(*lines, plugin_.string(), options, out, err);
        run.out = out.str();
        run.err = err.str();
        EXPECT_EQ(run.status, expected) << run.err;
        EXPECT_TRUE(expected != 0 || run.err.empty()) << run.err;
        return run;
    }

    // The document a session saved, read back.
    std::unique_ptr<emulator::Document> Saved(const std::string& name) {
        std::string error;
        auto document = emulator::ReadSvg(Read(name), &error);
        EXPECT_NE(document, nullptr) << error;
        return document;
    }

    // The groups of the layer "Dimensions", bottom first.
    static std::vector<emulator::Art*> Dimensions(emulator::Document& document) {
        std::vector<emulator::Art*> groups;
        for (const auto& layer : document.layers) {
            if (layer->title == "Dimensions") {
                for (const auto& art : layer->art) {
                    groups.push_back(art.get());
                }
            }
        }
        return groups;
    }

    // The UTF-8 text of the first text frame inside `group` ("" without one).
    static std::string MeasureOf(emulator::Art& group) {
        std::string text;
        emulator::ForEachArt(group, [&text](emulator::Art& art) {
            if (art.type == emulator::ArtType::Text && text.empty()) {
                text = emulator::Utf8FromUtf16(art.pointText.text);
            }
        });
        return text;
    }

    static std::vector<std::string> Measures(const std::vector<emulator::Art*>& groups) {
        std::vector<std::string> measures;
        for (emulator::Art* group : groups) {
            measures.push_back(MeasureOf(*group));
        }
        return measures;
    }

    static emulator::Art* WithTag(emulator::Art& group, const std::string& tag) {
        emulator::Art* found = nullptr;
        emulator::ForEachArt(group, [&](emulator::Art& art) {
            if (found == nullptr && art.tags.count(tag) != 0) {
                found = &art;
            }
        });
        return found;
    }

    static int Count(const std::string& text, const std::string& what) {
        int count = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
            ++count;
        }
        return count;
    }

    TemporaryFolder folder_;
    std::filesystem::path plugin_;
};

}  // namespace testing_support
