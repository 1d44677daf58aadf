/*
 * The help viewer's decisions: splitting its command line and turning one
 * topic of an HTML help file into plain text. No window code here, so the
 * tests call these directly.
 */
#include "help_topic.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>

const char HELP_DEFAULT_TOPIC[] = "Main_Contents";

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

static std::string Trim(const std::string &s)
{
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) b++;
    while (e > b && IsBlank(s[e - 1])) e--;
    return s.substr(b, e - b);
}

static char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
}

static std::string LowerText(const std::string &s)
{
    std::string r(s);
    for (char &c : r) c = Lower(c);
    return r;
}

/* Where the viewer's argument starts. The handheld passes the argument alone;
 * a desktop command line starts with the program's name, which is skipped. */
static std::string ArgumentPart(const std::string &commandLine)
{
    std::string line = Trim(commandLine);
    std::string lower = LowerText(line);
    size_t skip = lower[0] == '"' ? 1 : 0;
    if (lower.compare(skip, 5, "file:") == 0)
        return line;
    size_t marker = lower.find(" file:");
    if (marker == std::string::npos) marker = lower.find(" \"file:");
    if (marker != std::string::npos)
        return line.substr(marker + 1);
    /* No "file:": drop a first word that names a program. */
    size_t end;
    if (line[0] == '"') {
        end = line.find('"', 1);
        end = end == std::string::npos ? line.size() : end + 1;
    } else {
        end = 0;
        while (end < line.size() && !IsBlank(line[end])) end++;
    }
    std::string first = LowerText(line.substr(0, end));
    if (!first.empty() && first.back() == '"') first.pop_back();
    if (first.size() >= 4 && first.compare(first.size() - 4, 4, ".exe") == 0)
        return line.substr(end);
    return line;
}

bool ParseHelpCommandLine(const std::string &commandLine, HelpRequest *request)
{
    if (Trim(commandLine).empty())
        return false;
    std::string line = Trim(ArgumentPart(commandLine));
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"')
        line = Trim(line.substr(1, line.size() - 2));
    if (LowerText(line.substr(0, 5)) == "file:")
        line = line.substr(5);
    size_t hash = line.find('#');
    std::string file = Trim(line.substr(0, hash));
    std::string topic = hash == std::string::npos ? std::string() : Trim(line.substr(hash + 1));
    if (file.empty())
        return false;
    request->file = file;
    request->topic = topic.empty() ? std::string(HELP_DEFAULT_TOPIC) : topic;
    return true;
}

/* One tag of the document: where it lies, its lower-case name, whether it
 * closes an element, and the two attributes that name places. */
struct Tag {
    size_t start, end;   /* end is one past '>' */
    bool closing;
    std::string name;
    std::string anchorName;   /* name="..." */
    std::string id;           /* id="..." */
    bool hasName;
};

/* Reads the tag at html[pos] == '<'. Comments and declarations come back
 * with an empty name. False when no tag starts there (a lone '<'). */
static bool ReadTag(const std::string &html, size_t pos, Tag *tag)
{
    tag->start = pos;
    tag->closing = false;
    tag->name.clear();
    tag->anchorName.clear();
    tag->id.clear();
    tag->hasName = false;
    if (html.compare(pos, 4, "<!--") == 0) {
        size_t e = html.find("-->", pos + 4);
        tag->end = e == std::string::npos ? html.size() : e + 3;
        return true;
    }
    size_t i = pos + 1;
    if (i < html.size() && (html[i] == '!' || html[i] == '?')) {
        size_t e = html.find('>', i);
        tag->end = e == std::string::npos ? html.size() : e + 1;
        return true;
    }
    if (i < html.size() && html[i] == '/') {
        tag->closing = true;
        i++;
    }
    size_t nameStart = i;
    while (i < html.size() && (isalnum((unsigned char)html[i])))
        i++;
    if (i == nameStart)
        return false;
    tag->name = LowerText(html.substr(nameStart, i - nameStart));
    while (i < html.size() && html[i] != '>') {
        if (IsBlank(html[i]) || html[i] == '/') {
            i++;
            continue;
        }
        size_t attrStart = i;
        while (i < html.size() && !IsBlank(html[i]) && html[i] != '=' && html[i] != '>')
            i++;
        std::string attr = LowerText(html.substr(attrStart, i - attrStart));
        std::string value;
        while (i < html.size() && IsBlank(html[i])) i++;
        if (i < html.size() && html[i] == '=') {
            i++;
            while (i < html.size() && IsBlank(html[i])) i++;
            if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
                char quote = html[i++];
                size_t e = html.find(quote, i);
                if (e == std::string::npos) e = html.size();
                value = html.substr(i, e - i);
                i = e < html.size() ? e + 1 : e;
            } else {
                size_t v = i;
                while (i < html.size() && !IsBlank(html[i]) && html[i] != '>')
                    i++;
                value = html.substr(v, i - v);
            }
        }
        if (attr == "name") {
            tag->anchorName = value;
            tag->hasName = true;
        } else if (attr == "id") {
            tag->id = value;
        }
    }
    tag->end = i < html.size() ? i + 1 : html.size();
    return true;
}

static bool IsTopicAnchor(const Tag &t)
{
    return !t.closing && t.name == "a" && t.hasName;
}

static void AppendUtf8(std::string *out, unsigned long cp)
{
    if (cp < 0x80) {
        out->push_back((char)cp);
    } else if (cp < 0x800) {
        out->push_back((char)(0xC0 | (cp >> 6)));
        out->push_back((char)(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out->push_back((char)(0xE0 | (cp >> 12)));
        out->push_back((char)(0x80 | ((cp >> 6) & 0x3F)));
        out->push_back((char)(0x80 | (cp & 0x3F)));
    } else if (cp < 0x110000) {
        out->push_back((char)(0xF0 | (cp >> 18)));
        out->push_back((char)(0x80 | ((cp >> 12) & 0x3F)));
        out->push_back((char)(0x80 | ((cp >> 6) & 0x3F)));
        out->push_back((char)(0x80 | (cp & 0x3F)));
    }
}

/* Decodes the entity at html[pos] == '&' into out and returns its length,
 * or 0 when it is not one we know (the '&' is then plain text). */
static size_t DecodeEntity(const std::string &html, size_t pos, std::string *out)
{
    static const struct { const char *name; const char *text; } named[] = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""},
        {"&apos;", "'"}, {"&nbsp;", " "}, {"&copy;", "(c)"},
    };
    for (const auto &n : named) {
        size_t len = strlen(n.name);
        if (html.compare(pos, len, n.name) == 0) {
            out->append(n.text);
            return len;
        }
    }
    if (html.compare(pos, 2, "&#") == 0) {
        size_t semi = html.find(';', pos);
        if (semi == std::string::npos || semi - pos > 10)
            return 0;
        std::string digits = html.substr(pos + 2, semi - pos - 2);
        char *end = nullptr;
        unsigned long cp = (!digits.empty() && (digits[0] == 'x' || digits[0] == 'X'))
            ? strtoul(digits.c_str() + 1, &end, 16) : strtoul(digits.c_str(), &end, 10);
        if (digits.empty() || *end != '\0' || cp == 0)
            return 0;
        AppendUtf8(out, cp);
        return semi - pos + 1;
    }
    return 0;
}

/* Collects text with HTML's white-space rules and the line breaks that block
 * elements ask for (at most one blank line in a row). */
struct TextBuilder {
    std::string out;
    int pendingBreaks = 0;
    bool pendingSpace = false;

    bool AtLineStart() const
    {
        return out.empty() || out.back() == '\n';
    }
    void Break(int lines)
    {
        if (lines > pendingBreaks) pendingBreaks = lines;
        pendingSpace = false;
    }
    void Flush()
    {
        if (pendingBreaks > 0 && !out.empty()) {
            while (!out.empty() && out.back() == ' ') out.pop_back();
            for (int i = 0; i < pendingBreaks; i++) out.append("\r\n");
        } else if (pendingSpace && !AtLineStart()) {
            out.push_back(' ');
        }
        pendingBreaks = 0;
        pendingSpace = false;
    }
    void Literal(const std::string &s)
    {
        Flush();
        out.append(s);
    }
    void Char(char c)
    {
        if (IsBlank(c)) {
            pendingSpace = true;
            return;
        }
        Flush();
        out.push_back(c);
    }
};

static bool IsHeading(const std::string &name)
{
    return name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6';
}

static bool IsBlock(const std::string &name)
{
    static const char *blocks[] = {"p", "div", "ul", "ol", "table", "tr", "dl", "dt",
                                   "pre", "blockquote", "hr", "br", "li", "dd"};
    for (const char *b : blocks)
        if (name == b) return true;
    return IsHeading(name);
}

static bool IsParagraph(const std::string &name)
{
    return name == "p" || name == "ul" || name == "ol" || name == "table" || name == "dl" ||
           name == "pre" || name == "blockquote" || IsHeading(name);
}

HelpTopic ExtractHelpTopic(const std::string &html, const std::string &topic)
{
    HelpTopic result = {false, topic, std::string()};

    /* Find where the topic starts. */
    size_t begin = std::string::npos;
    Tag tag;
    for (size_t pos = html.find('<'); pos != std::string::npos; pos = html.find('<', pos + 1)) {
        if (!ReadTag(html, pos, &tag))
            continue;
        if ((IsTopicAnchor(tag) && tag.anchorName == topic) || (!tag.closing && !tag.id.empty() && tag.id == topic)) {
            begin = tag.end;
            break;
        }
        pos = tag.end - 1;
    }
    if (begin == std::string::npos)
        return result;
    result.found = true;

    TextBuilder text;
    std::string title;
    bool inTitle = false, titleDone = false;
    int skipDepth = 0;   /* inside script, style or head */
    size_t pos = begin;
    while (pos < html.size()) {
        char c = html[pos];
        if (c == '<' && ReadTag(html, pos, &tag)) {
            pos = tag.end;
            if (tag.name.empty())
                continue;
            if (IsTopicAnchor(tag) || (!tag.closing && tag.name == "body") || (tag.closing && (tag.name == "body" || tag.name == "html")))
                break;
            if (tag.name == "script" || tag.name == "style" || tag.name == "head") {
                skipDepth += tag.closing ? (skipDepth > 0 ? -1 : 0) : 1;
                continue;
            }
            if (skipDepth > 0)
                continue;
            if (IsHeading(tag.name) && !titleDone) {
                if (!tag.closing) inTitle = true;
                else if (inTitle) { inTitle = false; titleDone = true; }
            }
            if (tag.name == "li" && !tag.closing) {
                text.Break(1);
                text.Literal("- ");
            } else if (tag.name == "dd" && !tag.closing) {
                text.Break(1);
                text.Literal("    ");
            } else if ((tag.name == "td" || tag.name == "th") && !tag.closing) {
                if (text.pendingBreaks == 0 && !text.AtLineStart()) text.Literal("  ");
            } else if (IsBlock(tag.name)) {
                text.Break(tag.closing && IsParagraph(tag.name) ? 2 : 1);
            }
            continue;
        }
        if (skipDepth > 0) {
            pos++;
            continue;
        }
        std::string decoded;
        size_t used = c == '&' ? DecodeEntity(html, pos, &decoded) : 0;
        if (used == 0) {
            decoded.assign(1, c);
            used = 1;
        }
        for (char d : decoded) {
            text.Char(d);
            if (inTitle) {
                if (IsBlank(d)) { if (!title.empty() && title.back() != ' ') title.push_back(' '); }
                else title.push_back(d);
            }
        }
        pos += used;
    }
    text.pendingBreaks = 0;
    while (!text.out.empty() && IsBlank(text.out.back()))
        text.out.pop_back();
    result.text = text.out;
    title = Trim(title);
    if (!title.empty())
        result.title = title;
    return result;
}
