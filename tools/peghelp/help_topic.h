/*
 * What the help viewer decides, apart from any window: how its command line
 * "file:Kestrum.htm#topic" splits into a file name and a topic, and how one
 * topic of an HTML help file becomes a title and plain text for an edit box.
 * Help files are single-byte or UTF-8 text; results keep those bytes.
 */
#ifndef PEGHELP_HELP_TOPIC_H
#define PEGHELP_HELP_TOPIC_H

#include <string>

/* The topic shown when the command line names none. */
extern const char HELP_DEFAULT_TOPIC[];   /* "Main_Contents" */

struct HelpRequest {
    std::string file;    /* as given, e.g. "Kestrum.htm" or "\\Windows\\Kestrum.htm" */
    std::string topic;   /* after '#', or HELP_DEFAULT_TOPIC */
};

/* Splits "file:NAME#TOPIC" (the "file:" prefix optional, surrounding blanks and
 * one pair of quotation marks ignored). The line may start with the viewer's
 * own program name, as desktop command lines do. False when no file name is left. */
bool ParseHelpCommandLine(const std::string &commandLine, HelpRequest *request);

struct HelpTopic {
    bool found;          /* the file holds an anchor of that name */
    std::string title;   /* the topic's first heading, else the topic name */
    std::string text;    /* readable text, lines ended by "\r\n" */
};

/* The section of html that starts at the anchor <a name="topic"> (or an element
 * with id="topic") and runs to the next <a name=...> anchor, as plain text:
 * tags dropped, blocks and list items on lines of their own, the common
 * character entities decoded. The name must match exactly. */
HelpTopic ExtractHelpTopic(const std::string &html, const std::string &topic);

#endif
