// SPDX-License-Identifier: MIT
// The run file: every setting written and read back the same, each text byte for byte; a file
// written by hand, with comments and the keys it leaves out; and every bad file refused with one
// line naming the file, the line and what is wrong, without a crash, a wait or a stack overflow.
#include "runfile/run_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "picture/png.h"

namespace kurvilo {
namespace {

// Texts the engine parses, not the file: each must come back exactly.
const std::vector<std::string> kAwkwardTexts = {
    "",
    "0",
    "1/100",
    "0,5",
    "\u03A3{n=1<>3:n}*sin(\u03B8)",
    "say \"hi\"",
    "back\\slash \\n \\u0041",
    "a,b,,c",
    "'single' '''triple'''",
    "\"\"\"",
    "# not a comment",
    "tab\tnew\nline\r\nend",
    "\x01\x1F\x7F",
    std::string("nul\0inside", 10),
    "  blanks  ",
    "\u00E9\u4E00\U0001F600",
    "key = \"value\"\n[table]",
};

RunFile everySettingSet(int mode) {
    RunFile file;
    RunSettings& s = file.settings;
    s.graphMode = mode;
    s.firstFormula = "r*v\u03B8^2-a/r^2";
    s.secondFormula = "-2*vr*v\u03B8/r";
    s.initialValues = {"0.4", "-0.5708", "0,5", "15"};
    s.constants = {"1000", "", "\u03C0", "b+1"};
    s.drawingSpeed = 0;
    s.timeStep = 2;
    s.viewRangeY = 0;
    s.viewRangeX = 2;
    s.zoomX = {true, -200, 100};
    s.zoomY = {false, 200, 1};
    s.separator = U',';
    file.ticks = 6540;
    file.title = "A Kepler orbit";
    file.note = "Started slower than a circle needs.\nThe fine step keeps it closed.";
    return file;
}

RunFile reread(const RunFile& file) {
    const RunFileRead read = parseRunFile(formatRunFile(file), "round.kurvilo");
    EXPECT_TRUE(read.file) << read.error.message();
    return read.file.value_or(RunFile{});
}

TEST(RunFileRoundTrip, EverySettingOfEveryModeComesBack) {
    for (int mode = 0; mode < 4; ++mode) {
        SCOPED_TRACE(mode);
        const RunFile file = everySettingSet(mode);
        EXPECT_EQ(reread(file), file);
    }
    // And the start-up settings, with no ticks, title or note.
    EXPECT_EQ(reread(RunFile{}), RunFile{});
}

TEST(RunFileRoundTrip, EachTextInEachPlaceComesBackByteForByte) {
    for (const std::string& text : kAwkwardTexts) {
        SCOPED_TRACE(text);
        for (int place = 0; place < 12; ++place) {
            RunFile file;
            RunSettings& s = file.settings;
            std::string* slots[] = {&s.firstFormula,     &s.secondFormula,    &s.initialValues[0],
                                    &s.initialValues[1], &s.initialValues[2], &s.initialValues[3],
                                    &s.constants[0],     &s.constants[1],     &s.constants[2],
                                    &s.constants[3],     &file.title,         &file.note};
            *slots[place] = text;
            ASSERT_EQ(runFileProblem(file), "");
            EXPECT_EQ(reread(file), file) << "place " << place;
        }
    }
}

TEST(RunFileRoundTrip, EverySeparatorComesBack) {
    for (const char32_t separator : {U'.', U',', U'\'', U'\u066B', U'\u00B7', U'_'}) {
        RunFile file;
        file.settings.separator = separator;
        EXPECT_EQ(reread(file).settings.separator, separator);
    }
}

// What a teacher writes by hand: comments, keys in any order, the rest left out.
TEST(RunFileByHand, CommentsAndLeftOutKeysReadAsTheStartUpSettings) {
    const char* text =
        "# A rose for Monday's class\n"
        "kurvilo = 1   # the format\n"
        "\n"
        "[formulas]\n"
        "first = '10cos(3\u03B8)'   # a literal string: no escapes\n"
        "[initial]\n"
        "vtheta = \"1\"\n"
        "[zoom.y]\n"
        "on = true\n"
        "[drawing]\n"
        "range-x = 2\n"
        "# mode after the tables would be in [drawing]: it comes first\n";
    const RunFileRead read = parseRunFile(text, "rose.kurvilo");
    ASSERT_TRUE(read.file) << read.error.message();
    RunFile expected;
    expected.settings.firstFormula = "10cos(3\u03B8)";
    expected.settings.initialValues[0] = "1";
    expected.settings.zoomY.on = true;
    expected.settings.viewRangeX = 0;
    EXPECT_EQ(*read.file, expected);
}

TEST(RunFileByHand, TheWrittenFileNamesTheWindowsLabelsInComments) {
    const std::string text = formatRunFile(everySettingSet(1));
    for (const char* line :
         {"mode = \"polar-motion\"  # \u6975\u5EA7\u6A19\u7CFB\u904B\u52D5"
          "\u65B9\u7A0B\u5F0F",
          "first = \"r*v\u03B8^2-a/r^2\"  # Ar=", "second = \"-2*vr*v\u03B8/r\"  # A\u03B8=",
          "theta = \"-0.5708\"  # \u03B8=", "range-x = 200  # -200<X<200",
          "range-y = 2  # -2<Y<2"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    }
}

TEST(RunFileByHand, TheOtherModesNamesOfAnInitialValueAreTakenToo) {
    const RunFileRead read =
        parseRunFile("kurvilo = 1\nmode = \"polar-motion\"\n[initial]\nx = \"3\"\nvr = \"2\"\n",
                     "mixed.kurvilo");
    ASSERT_TRUE(read.file) << read.error.message();
    EXPECT_EQ(read.file->settings.initialValues[1], "3");
    EXPECT_EQ(read.file->settings.initialValues[2], "2");
}

struct BadFile {
    const char* what;
    std::string text;
    const char* message;  // the one line, after "bad.kurvilo"
};

TEST(RunFileRefused, EachBadFileGetsOneLineNamingTheLineAndTheFault) {
    const BadFile cases[] = {
        {"not TOML", "this is no run file\n",
         ":1: Error while parsing key-value pair: expected '=', saw 'i'"},
        {"no version", "mode = \"polar-curve\"\n",
         ": not a Kurvilo run file: it has no line 'kurvilo = 1'"},
        {"another program's TOML", "[package]\nname = \"x\"\n",
         ": not a Kurvilo run file: it has no line 'kurvilo = 1'"},
        {"a newer format", "kurvilo = 2\n",
         ":1: format version 2 is newer than this Kurvilo reads (1)"},
        {"no format", "kurvilo = 0\n", ":1: 'kurvilo' must be 1, not 0"},
        {"version as text", "kurvilo = \"1\"\n", ":1: 'kurvilo' must be a whole number"},
        {"unknown key at the top", "kurvilo = 1\nmdoe = \"x\"\n",
         ":2: unknown key 'mdoe' at the top (the keys there are kurvilo, title, note, mode, "
         "ticks, separator, formulas, initial, constants, drawing and zoom)"},
        {"unknown key in a table", "kurvilo = 1\n[formulas]\nfirst = \"1\"\nfisrt = \"2\"\n",
         ":4: unknown key 'fisrt' in [formulas] (the keys there are first and second)"},
        {"unknown key in a zoom", "kurvilo = 1\n[zoom]\nx = { on = true, center = 3 }\n",
         ":3: unknown key 'center' in [zoom.x] (the keys there are on, centre and half-width)"},
        {"a formula that is a number", "kurvilo = 1\n[formulas]\nfirst = 1.5\n",
         ":3: 'formulas.first' must be a text in quotes"},
        {"an initial value that is a number", "kurvilo = 1\n[initial]\nx = 5\n",
         ":3: 'initial.x' must be a text in quotes"},
        {"a table that is a text", "kurvilo = 1\nzoom = \"off\"\n", ":2: 'zoom' must be a table"},
        {"ticks as text", "kurvilo = 1\nticks = \"700\"\n", ":2: 'ticks' must be a whole number"},
        {"negative ticks", "kurvilo = 1\nticks = -1\n", ":2: 'ticks' must be 0 or more, not -1"},
        {"zoom switch as number", "kurvilo = 1\n[zoom]\ny = { on = 1 }\n",
         ":3: 'zoom.y.on' must be true or false"},
        {"centre out of range", "kurvilo = 1\n[zoom]\nx = { centre = 201 }\n",
         ":3: 'zoom.x.centre' must be -200 to 200, not 201"},
        {"half-width out of range", "kurvilo = 1\n[zoom.y]\nhalf-width = 0\n",
         ":3: 'zoom.y.half-width' must be 1 to 100, not 0"},
        {"unknown mode", "kurvilo = 1\nmode = \"polar\"\n",
         ":2: 'mode' must be cartesian-motion, polar-motion, cartesian-curve or polar-curve, not "
         "\"polar\""},
        {"unknown speed", "kurvilo = 1\n[drawing]\nspeed = \"fast\"\n",
         ":3: 'drawing.speed' must be \"1/1s\", \"1/10s\" or \"1/100s\", not \"fast\""},
        {"a step that is no caption", "kurvilo = 1\n[drawing]\nstep = \"0.01\"\n",
         ":3: 'drawing.step' must be \"1/10\", \"1/100\" or \"1/1000\", not \"0.01\""},
        {"a view range of no row", "kurvilo = 1\n[drawing]\nrange-y = 50\n",
         ":3: 'drawing.range-y' must be 2, 20 or 200, not 50"},
        {"a view range as text", "kurvilo = 1\n[drawing]\nrange-y = \"20\"\n",
         ":3: 'drawing.range-y' must be a whole number"},
        {"a separator of two characters", "kurvilo = 1\nseparator = \",,\"\n",
         ":2: 'separator' needs exactly one character"},
        {"a separator of the formulas", "kurvilo = 1\nseparator = \"(\"\n",
         ":2: 'separator' '(' is a character of the formula language or its value atoms"},
        {"one initial value twice", "kurvilo = 1\n[initial]\ny = \"1\"\nr = \"2\"\n",
         ":4: 'initial.y' and 'initial.r' are the same initial value (Y=, r=)"},
        {"a key twice", "kurvilo = 1\ntitle = \"a\"\ntitle = \"b\"\n",
         ":3: Error while parsing key-value pair: cannot redefine existing string 'title'"},
        {"invalid UTF-8 in a text", "kurvilo = 1\ntitle = \"\xC3\x28\"\n",
         ":2: Encountered invalid utf-8 sequence"},
        {"invalid UTF-8 in a comment", "kurvilo = 1\n# caf\xE9\n",
         ":2: Encountered invalid utf-8 sequence"},
        {"a quote left open", "kurvilo = 1\ntitle = \"open\n",
         ":2: Error while parsing string: unescaped control characters other than TAB (U+0009) "
         "are explicitly prohibited"},
        {"a control character", "kurvilo = 1\n\x01 = 2\n",
         ":2: Error while parsing root table: expected keys, tables, whitespace or comments, saw "
         "'\\u0001'"},
    };
    for (const BadFile& c : cases) {
        SCOPED_TRACE(c.what);
        const RunFileRead read = parseRunFile(c.text, "bad.kurvilo");
        EXPECT_FALSE(read.file);
        EXPECT_EQ(read.error.message(), std::string("bad.kurvilo") + c.message);
        EXPECT_EQ(read.error.message().find('\n'), std::string::npos);
    }
}

// Characters beyond ASCII where the parser asks whether they are blanks: refused as what they
// are, a character no TOML allows there, never undefined behaviour (the sanitizers see it); in
// texts and comments they are the texts' own, after a line-ending backslash too.
TEST(RunFileRefused, CharactersBeyondAsciiWhereOnlyAsciiMayStand) {
    const struct {
        const char* what;
        std::string text;
        std::size_t line;
    } refused[] = {
        {"a key in Greek", "kurvilo = 1\n[initial]\n\u03B8 = \"0\"\n", 3},
        {"a Greek letter before the equals sign", "kurvilo = 1\nstep \u03B8= 1\n", 2},
        {"a number run into a text", "kurvilo = 1\nticks = 4\"\u03C0\"\n", 2},
        {"an ideographic blank", "kurvilo = 1\u3000\n", 1},
        {"a backslash before a Greek letter",
         "kurvilo = 1\n[formulas]\nfirst = \"\"\"sin(\\\u03B8)\"\"\"\n", 3},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.what);
        const RunFileRead read = parseRunFile(c.text, "bad.kurvilo");
        EXPECT_FALSE(read.file);
        EXPECT_EQ(read.error.line, c.line) << read.error.message();
        EXPECT_EQ(read.error.message().find('\n'), std::string::npos);
    }
    const struct {
        const char* what;
        std::string text;
        std::string note;
    } read[] = {
        {"in a comment", "kurvilo = 1 # \u03B8\u3000\nnote = \"x\"\n", "x"},
        {"in a text", "kurvilo = 1\nnote = \"\\\\\u03B8\u3000\"\n", "\\\u03B8\u3000"},
        {"in a multi-line text", "kurvilo = 1\nnote = \"\"\"a\n\u03B8\"\"\"\n", "a\n\u03B8"},
        {"first on a line a backslash continues",
         "kurvilo = 1\nnote = \"\"\"petals \\  \n\n   \u03B8 runs\"\"\"\n", "petals \u03B8 runs"},
        {"in a literal text", "kurvilo = 1\nnote = '\\\u03B8'\n", "\\\u03B8"},
    };
    for (const auto& c : read) {
        SCOPED_TRACE(c.what);
        const RunFileRead file = parseRunFile(c.text, "ok.kurvilo");
        ASSERT_TRUE(file.file) << file.error.message();
        EXPECT_EQ(file.file->note, c.note);
    }
}

// Nesting the parser would follow down the stack: refused before it sees the text, on the line
// where it grows too deep; strings and comments hold any number of dots and brackets.
TEST(RunFileRefused, DeepNestingIsRefusedBeforeParsing) {
    const auto repeated = [](const std::string& part, std::size_t n, const std::string& joint) {
        std::string text;
        for (std::size_t i = 0; i < n; ++i)
            text += (i > 0 ? joint : "") + part;
        return text;
    };
    const std::size_t deep = 100000;
    const BadFile cases[] = {
        {"a dotted key", "kurvilo = 1\n" + repeated("a", deep, ".") + " = 1\n",
         ":2: nested deeper than 8 levels"},
        {"a table header", "kurvilo = 1\n[" + repeated("a", deep, ".") + "]\n",
         ":2: nested deeper than 8 levels"},
        {"arrays", "kurvilo = 1\nx = " + std::string(deep, '[') + std::string(deep, ']') + "\n",
         ":2: nested deeper than 8 levels"},
        {"inline tables", "kurvilo = 1\nx = " + repeated("{a = ", deep, "") + "\n",
         ":2: nested deeper than 8 levels"},
        {"arrays over many lines", "kurvilo = 1\nx = " + repeated("[", deep, "\n") + "\n",
         ":10: nested deeper than 8 levels"},
        {"quotes that close a multi-line string and a dotted key after them",
         "kurvilo = 1\nx = { a = \"\"\"q\"\"\"\", " + repeated("b", deep, ".") + " = 1 }\n",
         ":2: nested deeper than 8 levels"},
    };
    for (const BadFile& c : cases) {
        SCOPED_TRACE(c.what);
        const RunFileRead read = parseRunFile(c.text, "bad.kurvilo");
        EXPECT_FALSE(read.file);
        EXPECT_EQ(read.error.message(), std::string("bad.kurvilo") + c.message);
    }
    // Texts and comments full of what would nest are no nesting.
    RunFile file;
    file.settings.firstFormula = repeated("[{a.b}]", 1000, ".");
    file.note = repeated("\"\"\".'''", 1000, "\n");
    EXPECT_EQ(reread(file), file);
    EXPECT_TRUE(
        parseRunFile("kurvilo = 1 # " + repeated("[.{", deep, ".") + "\n", "comment.kurvilo").file);
    // A table nested as deep as allowed is read (and refused as unknown, not as deep).
    const RunFileRead allowed = parseRunFile("kurvilo = 1\n[a.b.c.d.e.f.g]\n", "ok.kurvilo");
    EXPECT_EQ(allowed.error.message(),
              "ok.kurvilo:2: unknown key 'a' at the top (the keys there are kurvilo, title, note, "
              "mode, ticks, separator, formulas, initial, constants, drawing and zoom)");
}

class TempFolder {
  public:
    TempFolder() {
        char pattern[] = "/tmp/kurvilo-runfile-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(RunFileLoad, LargerThanARunFileIsRefusedUnread) {
    TempFolder folder;
    const std::string path = folder.file("big.kurvilo");
    // 10 MB of a valid file: a comment line after another.
    std::string big = "kurvilo = 1\n";
    while (big.size() < 10'000'000)
        big += "# padding padding padding padding padding padding padding padding padding\n";
    writeBytes(path, big);
    const RunFileRead read = loadRunFile(path, "big.kurvilo");
    EXPECT_FALSE(read.file);
    EXPECT_EQ(read.error.message(), "big.kurvilo: larger than a run file can be (4194304 bytes)");
    // A file of the largest size is read.
    writeBytes(path, big.substr(0, big.rfind('\n', kMaxRunFileBytes - 1) + 1));
    EXPECT_TRUE(loadRunFile(path).file);
}

TEST(RunFileLoad, FilesThatCannotBeReadSayWhy) {
    TempFolder folder;
    const struct {
        std::string path;
        const char* message;
    } cases[] = {
        {folder.file("missing.kurvilo"), ": cannot open it: No such file or directory"},
        {folder.file(""), ": is a folder, not a run file"},
    };
    for (const auto& c : cases) {
        const RunFileRead read = loadRunFile(c.path);
        EXPECT_FALSE(read.file);
        EXPECT_EQ(read.error.message(), c.path + c.message);
    }
}

TEST(RunFileLoad, APngCarriesItsRunFile) {
    TempFolder folder;
    const RunFile file = everySettingSet(3);
    class StringSink final : public ByteSink {
      public:
        void write(std::string_view bytes) override { bytes_.append(bytes); }
        bool failed() const noexcept override { return false; }
        std::string bytes_;
    };
    const std::uint32_t pixels[4] = {0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFFFFFFFF};
    const ImageView picture{pixels, 2, 2, 2};
    const auto pngWith = [&](const std::vector<PngText>& texts) {
        StringSink sink;
        std::string error;
        EXPECT_TRUE(writePng(picture, sink, error, texts)) << error;
        return sink.bytes_;
    };
    writeBytes(folder.file("run.png"),
               pngWith({{std::string(kPngRunFileKey), formatRunFile(file)}}));
    const RunFileRead read = loadRunFile(folder.file("run.png"), "run.png");
    ASSERT_TRUE(read.file) << read.error.message();
    EXPECT_EQ(*read.file, file);

    writeBytes(folder.file("plain.png"), pngWith({{"Comment", "kurvilo = 1"}}));
    EXPECT_EQ(loadRunFile(folder.file("plain.png"), "plain.png").error.message(),
              "plain.png: a PNG picture that carries no run file");
    writeBytes(folder.file("bad.png"),
               pngWith({{std::string(kPngRunFileKey), "kurvilo = 1\nmode = 3\n"}}));
    EXPECT_EQ(loadRunFile(folder.file("bad.png"), "bad.png").error.message(),
              "bad.png:2: 'mode' must be a text in quotes");
    writeBytes(folder.file("cut.png"), pngWith({}).substr(0, 30));
    EXPECT_EQ(loadRunFile(folder.file("cut.png"), "cut.png")
                  .error.message()
                  .rfind("cut.png: not a readable PNG picture: ", 0),
              0u);
}

TEST(RunFileWrite, TextsThatAreNotUtf8CannotBeWritten) {
    RunFile file;
    EXPECT_EQ(runFileProblem(file), "");
    file.settings.constants[2] = "\xFF";
    EXPECT_EQ(runFileProblem(file), "the constant c is not UTF-8, which a run file cannot hold");
    file.settings.constants[2] = "c";
    file.settings.graphMode = 1;
    file.settings.initialValues[1] = "\xC3";
    EXPECT_EQ(runFileProblem(file),
              "the initial value \u03B8= is not UTF-8, which a run file cannot hold");
}

}  // namespace
}  // namespace kurvilo
