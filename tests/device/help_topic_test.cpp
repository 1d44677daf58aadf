/*
 * The help viewer's decisions: how its command line splits into file and
 * topic, and what text one topic of a help file becomes.
 */
#include <gtest/gtest.h>

#include <string>

#include "help_topic.h"

namespace {

struct CommandLineCase {
    const char *line;
    bool ok;
    const char *file;
    const char *topic;
};

TEST(HelpCommandLine, SplitsFileAndTopic)
{
    const CommandLineCase cases[] = {
        {"file:Kestrum.htm#report", true, "Kestrum.htm", "report"},
        {"file:Kestrum.htm#Main_Contents", true, "Kestrum.htm", "Main_Contents"},
        {"FILE:Kestrum.htm#options", true, "Kestrum.htm", "options"},
        {"  \"file:Kestrum.htm#settings\"  ", true, "Kestrum.htm", "settings"},
        {"file:\\Windows\\Kestrum.htm#report", true, "\\Windows\\Kestrum.htm", "report"},
        {"Kestrum.htm#report", true, "Kestrum.htm", "report"},
        /* No topic: the contents. */
        {"file:Kestrum.htm", true, "Kestrum.htm", "Main_Contents"},
        {"file:Kestrum.htm#", true, "Kestrum.htm", "Main_Contents"},
        /* Desktop command lines start with the program's name. */
        {"peghelp.exe file:Kestrum.htm#report", true, "Kestrum.htm", "report"},
        {"\"D:\\Windows\\peghelp.exe\" file:Kestrum.htm#options", true, "Kestrum.htm", "options"},
        {"C:\\x\\PEGHELP.EXE Kestrum.htm#settings", true, "Kestrum.htm", "settings"},
        /* Nothing to show. */
        {"", false, "", ""},
        {"   ", false, "", ""},
        {"file:", false, "", ""},
        {"file:#report", false, "", ""},
        {"peghelp.exe", false, "", ""},
    };
    for (const CommandLineCase &c : cases) {
        HelpRequest r;
        bool ok = ParseHelpCommandLine(c.line, &r);
        ASSERT_EQ(c.ok, ok) << c.line;
        if (ok) {
            EXPECT_EQ(c.file, r.file) << c.line;
            EXPECT_EQ(c.topic, r.topic) << c.line;
        }
    }
}

const char kHelp[] =
    "<html><head><title>Kestrum Help</title><style>p { color: red }</style></head><body>\n"
    "<a name=\"Main_Contents\"></a>\n"
    "<h2>Kestrum   Help</h2>\n"
    "<p>Kestrum frees\n   storage &amp; memory.</p>\n"
    "<!-- <a name=\"options\"> inside a comment is no anchor -->\n"
    "<a name=\"options\"></a><h2>Cleaning options</h2>\n"
    "<ul><li><b>Stop</b> running programs</li><li>IE cache &lt;old&gt;</li></ul>\n"
    "<A NAME='settings'></A><H3>Program settings</H3><p>Age&nbsp;limit: &#48; to &#x39;99 days</p>\n"
    "<table><tr><td>Sound</td><td>On</td></tr></table>\n"
    "<div id=\"report\"><p>Tasks performed<br>Files used by system</p></div>\n"
    "<a name=\"no_heading\"></a><p>Just text &unknown; here</p>\n"
    "</body></html>\n";

struct TopicCase {
    const char *topic;
    bool found;
    const char *title;
    const char *text;
};

TEST(HelpTopic, ExtractsOneTopicAsPlainText)
{
    const TopicCase cases[] = {
        /* The section ends at the next anchor; entities decoded, blanks collapsed. */
        {"Main_Contents", true, "Kestrum Help", "Kestrum Help\r\n\r\nKestrum frees storage & memory."},
        /* List items on lines of their own; a comment's anchor does not end the topic. */
        {"options", true, "Cleaning options", "Cleaning options\r\n\r\n- Stop running programs\r\n- IE cache <old>"},
        /* Upper-case tags, single quotes, numeric entities, table cells; an id is no topic end. */
        {"settings", true, "Program settings",
         "Program settings\r\n\r\nAge limit: 0 to 999 days\r\n\r\nSound  On\r\n\r\nTasks performed\r\nFiles used by system"},
        /* An element's id starts a topic too. */
        {"report", true, "report", "Tasks performed\r\nFiles used by system"},
        /* No heading: the topic's name is the title; unknown entities stay. */
        {"no_heading", true, "no_heading", "Just text &unknown; here"},
        /* Names match exactly. */
        {"Options", false, "Options", ""},
        {"missing", false, "missing", ""},
    };
    for (const TopicCase &c : cases) {
        HelpTopic t = ExtractHelpTopic(kHelp, c.topic);
        EXPECT_EQ(c.found, t.found) << c.topic;
        EXPECT_EQ(c.title, t.title) << c.topic;
        EXPECT_EQ(c.text, t.text) << c.topic;
    }
}

TEST(HelpTopic, SurvivesBrokenMarkup)
{
    const char *broken[] = {
        "<a name=\"x\">text < 5 and <",
        "<a name=\"x\"><p unterminated",
        "<a name=\"x\">&#;&#xZZ;&#99999999999;<!-- never closed",
        "<a name=\"x",
    };
    for (const char *html : broken) {
        HelpTopic t = ExtractHelpTopic(html, "x");
        EXPECT_EQ(t.text.find('\0'), std::string::npos) << html;
    }
    EXPECT_EQ("text < 5 and <", ExtractHelpTopic(broken[0], "x").text);
}

}  // namespace
