// Writing the emulated host's document back to SVG: round trips through the reader, what the
// host does not model kept as it was, new documents, the atomic file write, a rendering of
// the written file, a save killed halfway, files with DOCTYPE entities, compressed files, and a
// session's output options without a document.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/Session.h"
#include "emulator/svg/SvgExport.h"
#include "emulator/svg/SvgImport.h"
#include "tests/emulator/SvgExportSupport.h"
#include "tests/support/HostFixture.h"

namespace {

namespace fs = std::filesystem;
using emulator::Art;
using emulator::ArtType;
using emulator::Document;
using emulator::Layer;
using emulator::WriteSvg;
using namespace testing_support::svg_export;

// XML forbids most control characters even as character references: names, titles, tags
// and texts that hold one are written without it, and the file reads back.
TEST(SvgExport, WritesNoCharacterXmlForbids) {
    const auto document = ReadExample();
    ASSERT_NE(document, nullptr);
    document->layers.front()->title = "Cotes\x01\x1F\tA\xEF\xBF\xBF";
    Art& art = *document->layers.front()->art.front();
    art.name = "n\x02";
    art.tags["kind"] = "v\x03";
    const std::string svg = WriteSvg(*document);
    for (const char* forbidden : {"&#1;", "&#2;", "&#3;", "&#31;", "\x01", "\xEF\xBF\xBF"}) {
        EXPECT_EQ(svg.find(forbidden), std::string::npos) << forbidden;
    }
    std::string error;
    const auto again = emulator::ReadSvg(svg, &error);
    ASSERT_NE(again, nullptr) << error;
    EXPECT_EQ(again->layers.front()->title, "Cotes\tA");
    EXPECT_EQ(again->layers.front()->art.front()->tags.at("kind"), "v");
}

// The reader's model of the example survives a write untouched: a fault in the path data,
// the numbers, the style or the layer attributes shows here as a field that differs.
TEST(SvgExport, ExampleReadsBackToTheSameModel) {
    const auto document = ReadExample();
    ASSERT_NE(document, nullptr);
    const auto again = Reread(*document);
    ASSERT_NE(again, nullptr);
    ExpectSameModel(*document, *again);
    // A second generation is the same text: nothing drifts from one save to the next.
    EXPECT_EQ(WriteSvg(*document), WriteSvg(*again));
}

// Everything the host does not model comes out as it went in, and art that did not change
// keeps its element attribute for attribute (a rect stays a rect).
TEST(SvgExport, UnmodelledContentIsKept) {
    const auto document = ReadExample();
    ASSERT_NE(document, nullptr);
    const std::string text = WriteSvg(*document);
    for (const char* kept : {
             "A mounting plate and its parts",  // the comment
             "<title id=\"title\">Platine de fixation</title>",
             "inkscape:zoom=\"0.7\"",                     // a foreign attribute
             "<linearGradient id=\"steel\">",             // definitions
             "Platine A — échelle 1:1</text>",            // text
             "xlink:href=\"data:image/png;base64,iVBOR",  // an image
             "<rect id=\"plate\" inkscape:label=\"Platine\" x=\"20\" y=\"30\" width=\"80\" "
             "height=\"50\" style=\"fill:url(#steel)\" />",
             "<circle id=\"clamp-screw\" r=\"4\" />",
             "transform=\"translate(150,265) rotate(-30)\"",
             "width=\"210mm\"",
         }) {
        EXPECT_TRUE(Contains(text, kept)) << kept << "\n" << text;
    }
}

// A new document reads back with its size and its points per user unit, whatever the unit.
TEST(SvgExport, NewDocumentKeepsItsSizeAndScale) {
    const struct {
        double width, height, k;
        const char* widthText;
    } cases[] = {
        {595, 842, 1, "width=\"595pt\""},
        {210, 297, 72 / 25.4, "width=\"210mm\""},
        {100, 50, 2, "width=\"200pt\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.widthText);
        const auto document = NewDocument(c.width, c.height, c.k);
        Layer& layer = *document->layers.back();
        Append(layer.art, StraightPath({{10, 20}, {30, 40}}, false, c.k), &layer, nullptr);
        EXPECT_TRUE(Contains(WriteSvg(*document), c.widthText)) << WriteSvg(*document);
        const auto again = Reread(*document);
        ASSERT_NE(again, nullptr);
        ExpectSameModel(*document, *again);
    }
}

// The names of the folder's entries, sorted.
std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A failed write leaves the old file as it was and no temporary file behind; a successful
// one replaces the file and leaves nothing else.
TEST(SvgExport, FileWriteIsAtomic) {
    testing_support::TemporaryFolder folder;
    const auto document = ReadExample();
    ASSERT_NE(document, nullptr);
    const fs::path target = folder.Path() / "plan.svg";
    std::ofstream(target) << "old";
    const fs::path notAFolder = folder.Path() / "plain";
    std::ofstream(notAFolder) << "a file";
    std::string error;
    EXPECT_FALSE(emulator::WriteSvgFile(*document, notAFolder / "plan.svg", &error));
    EXPECT_TRUE(Contains(error, "plan.svg")) << error;

    EXPECT_TRUE(emulator::WriteSvgFile(*document, target, &error)) << error;
    EXPECT_EQ(testing_support::ReadFile(target), WriteSvg(*document));
    EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"plain", "plan.svg"}));
}

// A save killed by a signal halfway leaves the old file whole; its temporary file is removed
// by the next save there, which keeps the file's permissions.
TEST(SvgExport, KilledSaveLeavesTheOldFile) {
    testing_support::TemporaryFolder folder;
    const fs::path target = folder.Path() / "plan.svg";
    const std::string old(4000, 'o');
    std::ofstream(target) << old;
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The system kills a process (SIGXFSZ) that writes a file beyond this size.
        const rlimit size{1000, 1000};
        const rlimit core{0, 0};
        setrlimit(RLIMIT_CORE, &core);
        setrlimit(RLIMIT_FSIZE, &size);
        emulator::WriteFileWhole(target, std::string(100000, 'n'), nullptr);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    const std::string prefix = emulator::TemporaryPrefix(target);
    const std::string stale = prefix + std::to_string(child) + "-";
    ASSERT_EQ(Names(folder.Path()).size(), 2u);
    EXPECT_EQ(Names(folder.Path())[0].compare(0, stale.size(), stale), 0);
    EXPECT_EQ(testing_support::ReadFile(target), old);

    // Another process's temporary file that is still alive is left alone.
    const std::string ours = prefix + std::to_string(getppid()) + "-7";
    std::ofstream(folder.Path() / ours) << "being written";
    std::string error;
    ASSERT_TRUE(emulator::WriteFileWhole(target, "new", &error)) << error;
    EXPECT_EQ(testing_support::ReadFile(target), "new");
    EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{ours, "plan.svg"}));
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A save through a symbolic link changes the file the link leads to and keeps the link; a
// file its owner made read-only is refused and stays as it was, even for a user who may
// replace files in its folder. Would catch a save that turns links into copies or throws a
// protection away (as renaming a new file over the old one does).
TEST(SvgExport, SavesKeepLinksAndProtections) {
    testing_support::TemporaryFolder folder;
    fs::create_directory(folder.Path() / "real");
    const fs::path real = folder.Path() / "real" / "plan.svg";
    std::ofstream(real) << "old";
    const fs::path link = folder.Path() / "plan.svg";
    fs::create_symlink("real/plan.svg", link);
    std::string error;
    ASSERT_TRUE(emulator::WriteFileWhole(link, "new", &error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(testing_support::ReadFile(real), "new");
    EXPECT_EQ(Names(folder.Path() / "real"), std::vector<std::string>{"plan.svg"});

    const fs::path loop = folder.Path() / "loop.svg";
    fs::create_symlink("loop.svg", loop);
    EXPECT_FALSE(emulator::WriteFileWhole(loop, "new", &error));
    EXPECT_FALSE(emulator::WriteFileWhole(folder.Path() / "real", "new", &error));
    EXPECT_TRUE(fs::is_directory(folder.Path() / "real"));

    // A pipe (as /dev/null, a device) is written to, never replaced by a file.
    const fs::path pipe = folder.Path() / "pipe.svg";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_TRUE(emulator::WriteFileWhole(pipe, "new", &error)) << error;
    char received[8] = {};
    EXPECT_EQ(read(reader, received, sizeof received), 3);
    close(reader);
    EXPECT_EQ(std::string(received), "new");
    EXPECT_TRUE(fs::is_fifo(pipe));

    // As a user without the right to write the file (root may write any file), in a folder
    // anyone may write to.
    const fs::path shared = folder.Path() / "shared";
    fs::create_directory(shared);
    fs::permissions(folder.Path(), fs::perms::all);
    fs::permissions(shared, fs::perms::all);
    const fs::path kept = shared / "kept.svg";
    std::ofstream(kept) << "protected";
    fs::permissions(kept, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
            _exit(2);
        }
        _exit(emulator::WriteFileWhole(kept, "replaced", nullptr) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the protected file was written";
    EXPECT_EQ(testing_support::ReadFile(kept), "protected");
    EXPECT_EQ(Names(shared), std::vector<std::string>{"kept.svg"});
}

bool HasRsvgConvert() {
    return std::system("command -v rsvg-convert > /dev/null 2>&1") == 0;
}

// Writes the document and has rsvg-convert (of librsvg) render it to PNG.
void ExpectRenders(const Document& document) {
    testing_support::TemporaryFolder folder;
    std::string error;
    ASSERT_TRUE(emulator::WriteSvgFile(document, folder.Path() / "plan.svg", &error)) << error;
    const std::string command = "rsvg-convert -o '" + (folder.Path() / "plan.png").string() +
                                "' '" + (folder.Path() / "plan.svg").string() + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << WriteSvg(document);
    ASSERT_TRUE(fs::exists(folder.Path() / "plan.png"));
    EXPECT_GT(fs::file_size(folder.Path() / "plan.png"), 0u);
}

// The written example, with what the plug-in draws added (a dashed stroke with round caps,
// texts turned, centred and on two lines, in a group), opens in an ordinary SVG renderer.
TEST(SvgExport, WrittenExampleRenders) {
    if (!HasRsvgConvert()) {
        GTEST_SKIP() << "rsvg-convert is not installed";
    }
    auto document = ReadExample();
    ASSERT_NE(document, nullptr);
    const double k = document->unitScale;
    ArtNamed(*document, "Platine")->segments[0].p.h += 1;
    Layer& notes = LayerTitled(*document, "Notes");
    Art* group = Append(notes.art, std::make_unique<Art>(), &notes, nullptr);
    group->type = ArtType::Group;
    Append(group->children, StraightPath({{20, 90}, {100, 90}}, false, k), &notes, group);
    Append(group->children, TextArt(u"80 mm\r± 0,1", 0, 60, 88, k), &notes, group)
        ->pointText.features.justification = emulator::Justification::Center;
    Append(notes.art, TextArt(u"50 mm", 90, 105, 55, k), &notes, nullptr);
    ExpectRenders(*document);
}

// A file exported with DOCTYPE entities for its namespaces (the parser expands none of them)
// reads with its layer and its art, and is written back without references to entities
// that it no longer declares, so that an ordinary SVG renderer opens it; an external
// entity is neither read nor kept.
TEST(SvgExport, FileWithDoctypeEntitiesReadsAndRenders) {
    if (!HasRsvgConvert()) {
        GTEST_SKIP() << "rsvg-convert is not installed";
    }
    const std::string file =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
        "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\" [\n"
        "\t<!ENTITY ns_svg \"http://www.w3.org/2000/svg\">\n"
        "\t<!ENTITY ns_xlink \"http://www.w3.org/1999/xlink\">\n"
        "\t<!ENTITY ns_layer \"http://www.inkscape.org/namespaces/&ns_name;\">\n"
        "\t<!ENTITY ns_name \"inkscape\">\n"
        "\t<!ENTITY secret SYSTEM \"/etc/hostname\">\n"
        "]>\n"
        "<svg version=\"1.1\" xmlns=\"&ns_svg;\" xmlns:xlink=\"&ns_xlink;\" "
        "xmlns:i=\"&ns_layer;\" width=\"200px\" height=\"100px\" viewBox=\"0 0 200 100\">\n"
        "<g id=\"Calque_1\" i:groupmode=\"layer\" i:label=\"Plan\">\n"
        "\t<path fill=\"none\" stroke=\"#000000\" d=\"M10,10 L110,10\"/>\n"
        "\t<text>&secret;&#38;ns_name;</text>\n"
        "</g>\n</svg>\n";
    std::string error;
    const auto document = emulator::ReadSvg(file, &error);
    ASSERT_NE(document, nullptr) << error;
    ASSERT_EQ(document->layers.size(), 1u);
    EXPECT_EQ(document->layers[0]->title, "Plan");
    ASSERT_EQ(document->layers[0]->art.size(), 1u);
    EXPECT_EQ(document->layers[0]->art[0]->segments.size(), 2u);
    const std::string text = WriteSvg(*document);
    EXPECT_FALSE(Contains(text, "ENTITY")) << text;
    EXPECT_TRUE(Contains(text, "<!DOCTYPE svg PUBLIC")) << text;
    EXPECT_TRUE(Contains(text, "xmlns=\"http://www.w3.org/2000/svg\"")) << text;
    EXPECT_TRUE(Contains(text, "<text>&amp;ns_name;</text>")) << text;
    ExpectRenders(*document);
}

// Gzip-compressed SVG opens whatever its name, and a name ending in .svgz is written
// compressed as gzip itself reads it, back to the same model.
TEST(SvgExport, CompressedFilesRoundTrip) {
    if (std::system("command -v gzip > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "gzip is not installed";
    }
    testing_support::TemporaryFolder folder;
    const auto document = ReadExample();
    ASSERT_NE(document, nullptr);
    const fs::path plain = folder.Path() / "plan.svg";
    std::string error;
    ASSERT_TRUE(emulator::WriteSvgFile(*document, plain, &error)) << error;
    ASSERT_EQ(std::system(("gzip -k -S .gz.svg '" + plain.string() + "'").c_str()), 0);
    const auto compressed = emulator::ReadSvgFile(folder.Path() / "plan.svg.gz.svg", &error);
    ASSERT_NE(compressed, nullptr) << error;
    ExpectSameModel(*document, *compressed);

    const fs::path svgz = folder.Path() / "plan.svgz";
    ASSERT_TRUE(emulator::WriteSvgFile(*compressed, svgz, &error)) << error;
    EXPECT_EQ(std::system(("gzip -t '" + svgz.string() + "'").c_str()), 0);
    const auto again = emulator::ReadSvgFile(svgz, &error);
    ASSERT_NE(again, nullptr) << error;
    ExpectSameModel(*document, *again);
    EXPECT_EQ(WriteSvg(*again), WriteSvg(*document));
}

// --out and --dump without a document are refused. (Sessions save beside their file, and
// the demo writes its dump, in the session and demo tests.)
TEST(SvgExport, SessionSavesTheDocument) {
    testing_support::TemporaryFolder folder;
    const fs::path plugin = testing_support::InstallIn(folder.Path());
    app::SessionError error;
    const auto none = app::ParseSession("tool segment\n", &error);
    ASSERT_TRUE(none.has_value());
    app::CommandLine options;
    options.dump = (folder.Path() / "out.json").string();
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(app::RunSession(*none, plugin.string(), options, out, err), 2);
    EXPECT_TRUE(Contains(err.str(), "need a document")) << err.str();
}

}  // namespace
