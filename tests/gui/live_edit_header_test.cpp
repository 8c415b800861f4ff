// The layout header: golden texts, the writer-reader round trip, malformed files, and
// saving that never leaves a partial file.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "live_edit_fixture.h"

namespace guitest {
namespace {

// Compares with tests/data/golden/<name>; on a mismatch the actual text is written
// beside the golden one as <name>.actual.
void ExpectGolden(const std::string& actual, const std::string& name) {
    const std::string path = std::string(QD_TEST_DATA_DIR) + "/golden/" + name;
    const std::string expected = ReadFile(path);
    if (actual != expected) std::ofstream(path + ".actual", std::ios::binary) << actual;
    EXPECT_EQ(actual, expected) << "actual written to " << path << ".actual";
}

class LiveEditHeaderTest : public LiveEditFixture {
protected:
    // Three controls; the second has distinct rectangles and is hidden; the third
    // was moved behind the first.
    void BuildPanel(bool resize) {
        Build({{10, 10, 30, 30}, {40, 10, 60, 30}, {70, 10, 90, 30}}, resize);
        g->GetControl(2)->SetTargetRECT({45, 15, 55, 25});
        g->GetControl(2)->Hide(true);
        g->MoveControlBehind(3, 1);
    }
};

TEST_F(LiveEditHeaderTest, DefaultViewMatchesGolden) {
    BuildPanel(false);
    ExpectGolden(LiveEditBuildLayoutHeader(1.0, State(), g, nullptr, 0), "live_edit_default.txt");
}

TEST_F(LiveEditHeaderTest, GUIResizeViewsMatchGoldenUnscaledWithDeletedLeftOut) {
    BuildPanel(true);
    // At scale 2 the controls stand at twice their layout; control 1 is deleted.
    for (int a = 1; a <= 3; ++a) {
        IControl* c = State()->mAttachOrder.Get(a);
        const IRECT d = *c->GetRECT(), t = *c->GetTargetRECT();
        *c->GetRECT() = IRECT(d.L * 2, d.T * 2, d.R * 2, d.B * 2);
        c->SetTargetRECT(IRECT(t.L * 2, t.T * 2, t.R * 2, t.B * 2));
    }
    State()->mDeleted.Add(1);
    State()->mViewModeCount = 2;
    ExpectGolden(LiveEditBuildLayoutHeader(2.0, State(), g, &views, 0), "live_edit_resize.txt");
    // Every control, deleted or not, reaches the view record at its own indices.
    ASSERT_EQ(views.calls.size(), 4u);
    EXPECT_EQ(views.calls[1], "0 1 2 10,10,30,30 10,10,30,30");
    EXPECT_EQ(views.calls[2], "0 2 3 40,10,60,30 45,15,55,25 hidden");
}

const char kGood[] = "        // class Knob 1\n"
                     "\t\tpGUIResize->LiveEditSetLayout(0, 1, 1, IRECT(1, 2, 3, 4), IRECT(-1, 2, 3, 4), false);\n";

std::string Section(int j, const std::string& body) {
    return "\t\t// View Mode: (" + std::to_string(j) + ") ---\n" + body + "\t\t// End (" + std::to_string(j) + ") ---\n";
}

TEST(LiveEditHeaderParse, MalformedHeadersLeaveSectionsEmpty) {
    const std::string start = "\t\t// View Mode: (0) ---\n", end = "\t\t// End (0) ---\n";
    const struct { const char* name; std::string text; } cases[] = {
        {"empty", ""},
        {"no start marker", std::string(kGood) + end},
        {"no end marker", start + kGood},
        {"end before start", end + kGood + start},
        {"marker of another mode", Section(10, kGood)},
        {"truncated in a line", start + std::string(kGood).substr(0, 60)},
        {"huge line", start + "        // class " + std::string(1 << 20, 'x') + " 1\n" + end},
        {"binary", start + std::string("\0\xff\x01\t\t// End (0)", 16) + "\n"},
        {"int overflow", Section(0, "\t\tpGUIResize->LiveEditSetLayout(0, 1, 1, IRECT(1, 2, 3, 99999999999), "
                                    "IRECT(1, 2, 3, 4), false);\n")},
        {"trailing text", Section(0, "\t\tpGUIResize->LiveEditSetLayout(0, 1, 1, IRECT(1, 2, 3, 4), "
                                     "IRECT(1, 2, 3, 4), maybe);\n")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LiveEditParseLayoutHeader(c.text, 2), (std::vector<std::string>{"", ""})) << c.name;
    // Foreign lines between good ones are dropped; the good ones stay.
    const std::string mixed = Section(0, "garbage\n" + std::string(kGood) + "#include <x>\n");
    EXPECT_EQ(LiveEditParseLayoutHeader(mixed, 1)[0], kGood);
    EXPECT_TRUE(LiveEditParseLayoutHeader(mixed, -5).empty());
}

TEST_F(LiveEditHeaderTest, FailedSaveLeavesNoPartialFile) {
    std::filesystem::create_directory("blocked");  // a folder where the file should go
    const struct { const char* path; } cases[] = {{"missing/LiveEditLayout.h"}, {"blocked"}, {""}};
    for (const auto& c : cases) {
        EXPECT_FALSE(LiveEditSaveLayoutFile("text", c.path)) << c.path;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 1) << c.path;  // "blocked" only
    }
    BuildPanel(false);
    EXPECT_FALSE(LiveEditWriteLayoutHeader(1.0, State(), g, nullptr, 0, "blocked"));
    EXPECT_TRUE(std::filesystem::is_directory("blocked"));
}

// An editor or version control may turn the line ends into CR LF and leave blanks at
// line ends: every section used to read as empty, and the next write dropped the
// other view modes' layouts.
TEST_F(LiveEditHeaderTest, CRLFHeaderReadsAsWrittenAndARewriteKeepsTheOtherSections) {
    BuildPanel(true);
    State()->mViewModeCount = 3;
    std::vector<std::string> sections;
    for (int j = 0; j < 2; ++j) {  // view mode 2 stays empty
        State()->mAttachOrder.Get(1)->GetRECT()->L = 10 + j;
        ASSERT_TRUE(LiveEditWriteLayoutHeader(1.0, State(), g, &views, j));
        sections.push_back(State()->mViewModeTexts.Get(j)->Get());
    }
    sections.push_back("");
    EXPECT_NE(sections[1].find("LiveEditSetLayout(1, 3, 1, IRECT(70, 10, 90, 30)"), std::string::npos);
    std::string crlf;
    for (char ch : ReadFile(kLiveEditHeaderFile)) crlf += ch == '\n' ? std::string(" \t\r\n") : std::string(1, ch);
    std::ofstream(kLiveEditHeaderFile, std::ios::binary) << crlf;

    LiveEditState fresh;
    fresh.mViewModeCount = 3;
    LiveEditReadLayoutHeader(&fresh);
    EXPECT_TRUE(fresh.mHeaderRead);
    for (int j = 0; j < 3; ++j) EXPECT_EQ(fresh.mViewModeTexts.Get(j)->Get(), sections[size_t(j)]) << j;

    // The panel's own state reads the same file back and rewrites view mode 1 only.
    LiveEditReadLayoutHeader(State());
    State()->mAttachOrder.Get(1)->GetRECT()->L = 42;
    ASSERT_TRUE(LiveEditWriteLayoutHeader(1.0, State(), g, &views, 1));
    const std::vector<std::string> now = LiveEditParseLayoutHeader(ReadFile(kLiveEditHeaderFile), 3);
    EXPECT_EQ(now[0], sections[0]);
    EXPECT_NE(now[1].find("IRECT(42, 10, 30, 30)"), std::string::npos) << now[1];
    EXPECT_EQ(now[2], sections[2]);
}

// A FIFO under the header's name used to freeze the window at the first overlay
// frame: opening it waits for a writer. It reads as missing, is left alone, and its
// write failure is told once however many frames change the layout.
TEST_F(LiveEditHeaderTest, AFIFOReadsAsMissingAndIsNeverWritten) {
    BuildPanel(false);
    ASSERT_EQ(mkfifo(kLiveEditHeaderFile, 0600), 0);
    testing::internal::CaptureStderr();
    const bool leftAlone = testutil::RunsWithoutOpeningFifo(kLiveEditHeaderFile, [this] {
        for (int x = 0; x < 3; ++x) Drag(1, 15 + x, 15, 25 + x, 15);
    });
    const std::string told = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(leftAlone);
    EXPECT_TRUE(State()->mHeaderRead);
    EXPECT_EQ(Rect(1), IRECT(100, 10, 120, 30));  // the editor went on working
    EXPECT_EQ(told, std::string("Layout editor: cannot write ") + kLiveEditHeaderFile + ": not a regular file\n");
    EXPECT_EQ(std::filesystem::status(kLiveEditHeaderFile).type(), std::filesystem::file_type::fifo);
}

TEST_F(LiveEditHeaderTest, OversizedFileIsReadAsMissing) {
    std::ofstream(kLiveEditHeaderFile) << Section(0, kGood) << std::string(kLiveEditMaxHeaderBytes, ' ');
    LiveEditReadLayoutHeader(State());
    EXPECT_STREQ(State()->mViewModeTexts.Get(0)->Get(), "");
}

}  // namespace
TEST_F(LiveEditHeaderTest, UnchangedLayoutIsNotWrittenAgain) {
    BuildPanel(false);
    ASSERT_TRUE(LiveEditWriteLayoutHeader(1.0, State(), g, nullptr, 0));
    const std::string first = ReadFile(kLiveEditHeaderFile);
    std::filesystem::remove(kLiveEditHeaderFile);
    EXPECT_TRUE(LiveEditWriteLayoutHeader(1.0, State(), g, nullptr, 0));
    EXPECT_FALSE(std::filesystem::exists(kLiveEditHeaderFile));
    g->GetControl(1)->GetRECT()->L = 11;
    EXPECT_TRUE(LiveEditWriteLayoutHeader(1.0, State(), g, nullptr, 0));
    EXPECT_NE(ReadFile(kLiveEditHeaderFile), first);
}

}  // namespace guitest
