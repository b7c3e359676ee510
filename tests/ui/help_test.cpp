#include "ui/help.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QTextDocument>
#include <QToolBar>
#include <fstream>
#include <regex>
#include <set>

#include "app/core/commands.h"
#include "base/chm_file.h"
#include "people/ui/input2h2_form.h"
#include "people/ui/input3h_form.h"
#include "support/test_support.h"
#include "ui/help_window.h"
#include "ui/recording_boxes.h"

namespace pelorin {
namespace {

const std::string kSystemDir = std::string(PELORIN_BINARY_DIR) + "/system/";

TEST(MainCommands, HelpFileAndTopicText) {
    const HelpTarget t = HelpTargetFor("/opt/pelorin/system/", 40);
    EXPECT_EQ(t.file, "/opt/pelorin/system/PelorinHelp.chm");
    EXPECT_EQ(t.topic, "::40.html");
    EXPECT_EQ(HelpFileError(t.file), "Unable to open help file /opt/pelorin/system/PelorinHelp.chm");
}

// Every topic the program opens is a page of the built help files.
TEST(HelpFiles, EveryTopicOfTheProgramIsAPage) {
    std::vector<int> topics = {kTopicTitlePicture15, kTopicTitlePicture14, kPlaceChooserHelpTopic};
    for (int page = 0; page < 16; ++page)
        if (const auto t = HelpTopicForPage(page)) topics.push_back(*t);
    topics.insert(topics.end(), std::begin(kAstrologyPictureTopics), std::end(kAstrologyPictureTopics));
    ASSERT_EQ(topics.size(), 3u + 9u + 7u);

    const auto main = ChmFile::Open(HelpTargetFor(kSystemDir, 10).file);
    ASSERT_TRUE(main) << "PelorinHelp.chm not built";
    for (int t : topics) EXPECT_TRUE(main->Contains(ChmObjectPath(HelpTargetFor(kSystemDir, t).topic))) << t;
    const auto city = ChmFile::Open(kSystemDir + kAddCityHelpFile);
    ASSERT_TRUE(city) << "Korvantis_7.chm not built";
    EXPECT_TRUE(city->Contains(ChmObjectPath("::" + std::to_string(kAddCityHelpTopic) + ".html")));
}

// Every link, picture and style sheet of every page is inside its file, and
// every "#anchor" is a name or id of the page it points to.
TEST(HelpFiles, EveryLinkResolvesInsideItsFile) {
    const std::regex ref(R"((?:href|src)\s*=\s*"([^"]*)\")", std::regex::icase);
    const std::regex external(R"(^(https?|mailto):)", std::regex::icase);
    for (const char* name : {"PelorinHelp.chm", kAddCityHelpFile}) {
        const auto chm = ChmFile::Open(kSystemDir + name);
        ASSERT_TRUE(chm) << name;
        int pages = 0, links = 0;
        for (const std::string& page : chm->Files()) {
            if (!page.ends_with(".html")) continue;
            ++pages;
            const std::string html = chm->Read(page).value_or("");
            const std::string dir = page.substr(0, page.rfind('/') + 1);
            for (std::sregex_iterator m(html.begin(), html.end(), ref), end; m != end; ++m) {
                const std::string link = (*m)[1];
                if (std::regex_search(link, external)) continue;
                ++links;
                const auto hash = link.find('#');
                const std::string target = hash == 0 ? page : ChmObjectPath(dir + link.substr(0, hash));
                const auto text = chm->Read(target);
                EXPECT_TRUE(text) << name << page << ": " << link;
                if (!text || hash == std::string::npos) continue;
                const std::string anchor = link.substr(hash + 1);
                EXPECT_TRUE(text->find("id=\"" + anchor + "\"") != std::string::npos ||
                            text->find("name=\"" + anchor + "\"") != std::string::npos)
                    << name << page << ": " << link;
            }
        }
        EXPECT_GT(pages, 0) << name;
        EXPECT_GT(links, pages) << name;
    }
}

TEST(HelpFiles, MissingOrBrokenFileGivesTheMessage) {
    test::ScratchDir dir;
    { std::ofstream(dir.file("PelorinHelp.chm")) << "ITSF not really a help file"; }
    test::RecordingBoxes boxes;
    for (const std::string& sys : {dir.path() + "none/", dir.path()}) {
        const HelpViewer ownWindow = [](const QString& f, const QString& t) { return HelpWindow().Open(f, t); };
        EXPECT_FALSE(ShowHelpTopic(sys, 40, ownWindow, boxes, nullptr));
    }
    ASSERT_EQ(boxes.errors.size(), 2);
    EXPECT_EQ(boxes.errors[0], QString::fromStdString("Unable to open help file " + dir.path() + "none/PelorinHelp.chm"));
    EXPECT_EQ(boxes.errors[1], QString::fromStdString("Unable to open help file " + dir.path() + "PelorinHelp.chm"));
}

// Files found by fuzzing: a directory whose listing chain loops (chmlib read it
// for ever), a compressed block longer than chmlib's buffer (it wrote past it)
// an LZX window size it has no decompressor for (it used none) and control data
// it divides by zero on while opening, and an entry in a section chmlib does
// not know (it read it as compressed while opening, dividing by zero). All but
// the second are refused; the second opens, and its compressed objects are not
// read.
TEST(HelpFiles, MalformedFilesAreRefusedOrNotReadPastTheirBounds) {
    const std::string dir = std::string(PELORIN_SOURCE_DIR) + "/tests/data/chm/";
    EXPECT_FALSE(ChmFile::Open(dir + "looping_directory.chm"));
    EXPECT_FALSE(ChmFile::Open(dir + "bad_window.chm"));
    EXPECT_FALSE(ChmFile::Open(dir + "dividing_control_data.chm"));
    EXPECT_FALSE(ChmFile::Open(dir + "unknown_section.chm"));
    const auto broken = ChmFile::Open(dir + "oversized_block.chm");
    ASSERT_TRUE(broken);
    int unread = 0;
    for (const std::string& f : broken->Files()) unread += !broken->Read(f);
    EXPECT_GT(unread, 0);
}

// The window shows the topic with its pictures, follows a link and goes back.
TEST(HelpWindowTest, ShowsTopicFollowsLinksAndGoesBack) {
    HelpWindow w;
    ASSERT_TRUE(w.Open(QString::fromStdString(kSystemDir + "PelorinHelp.chm"), QStringLiteral("::40.html")));
    ChmBrowser* b = w.Browser();
    EXPECT_EQ(b->source().path(), QStringLiteral("/40.html"));
    EXPECT_FALSE(b->documentTitle().isEmpty());
    EXPECT_TRUE(w.windowTitle().startsWith(QStringLiteral("Справка")));
    EXPECT_FALSE(b->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("img/page_women.png")))
                     .toByteArray()
                     .isEmpty());
    Q_EMIT b->anchorClicked(QUrl(QStringLiteral("60.html#houses")));
    EXPECT_EQ(b->source().path(), QStringLiteral("/60.html"));
    QStringList captions;
    for (QAction* a : w.findChild<QToolBar*>()->actions()) captions << a->text();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Назад"), QStringLiteral("Вперёд"), QStringLiteral("Содержание")}));
    w.findChild<QToolBar*>()->actions()[0]->trigger();
    EXPECT_EQ(b->source().path(), QStringLiteral("/40.html"));
    w.findChild<QToolBar*>()->actions()[2]->trigger();
    EXPECT_EQ(b->source().path(), QStringLiteral("/index.html"));
}

}  // namespace
}  // namespace pelorin
