// The report as JSON for tools and as text for a terminal: every string escaped, whatever bytes
// it holds.
#include "menu_check/report/report_format.h"

#include <gtest/gtest.h>

namespace tolvar {
namespace {

CheckReport Sample() {
  CheckReport report;
  report.entries = 1;
  report.findings = {
      {3, Severity::kError, "the splash picture \"a\\b.bmp\" cannot be shown"},
      {5, Severity::kWarning, "tab\there, \"quoted\", bell\x07, del\x7F, csi\xC2\x9B"}};
  report.directives = {{1, 0, DirectivePlace::kAboveTitle, "prompt", ""},
                       {4, 1, DirectivePlace::kEntry, "arguments", "/D=\"C:\\x\"\x1B"}};
  return report;
}

TEST(ReportFormatTest, JsonEscapesEverythingAStringCanHold) {
  EXPECT_EQ(FormatJson(Sample(), "C:\\media\\menu\\config.mnu"),
            "{\n"
            "  \"file\": \"C:\\\\media\\\\menu\\\\config.mnu\",\n"
            "  \"checked\": true,\n"
            "  \"entries\": 1,\n"
            "  \"errors\": 1,\n"
            "  \"warnings\": 1,\n"
            "  \"exit_status\": 2,\n"
            "  \"findings\": [\n"
            "    {\"file\": \"C:\\\\media\\\\menu\\\\config.mnu\", \"line\": 3, \"severity\": "
            "\"error\", \"message\": \"the splash picture \\\"a\\\\b.bmp\\\" cannot be shown\"},\n"
            "    {\"file\": \"C:\\\\media\\\\menu\\\\config.mnu\", \"line\": 5, \"severity\": "
            "\"warning\", \"message\": \"tab\\there, "
            "\\\"quoted\\\", bell\\u0007, del\\u007f, csi\\u009b\"}\n"
            "  ],\n"
            "  \"directives\": [\n"
            "    {\"file\": \"C:\\\\media\\\\menu\\\\config.mnu\", \"line\": 1, \"place\": "
            "\"above-title\", \"entry\": null, \"name\": \"prompt\", \"value\": \"\"},\n"
            "    {\"file\": \"C:\\\\media\\\\menu\\\\config.mnu\", \"line\": 4, \"place\": "
            "\"entry\", \"entry\": 1, \"name\": \"arguments\", \"value\": "
            "\"/D=\\\"C:\\\\x\\\"\\u001b\"}\n"
            "  ],\n"
            "  \"show-if\": [],\n"
            "  \"words\": []\n"
            "}\n");

  CheckReport unread;
  unread.checked = false;
  unread.findings = {{0, Severity::kError, "name \xff"}};  // not UTF-8: a name from the disk
  const std::string json = FormatJson(unread, "x");
  EXPECT_NE(json.find("{\"file\": \"x\", \"line\": null, \"severity\": \"error\", \"message\": "
                      "\"name \xEF\xBF\xBD\"}"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"exit_status\": 3"), std::string::npos);
  EXPECT_NE(
      FormatJson(CheckReport(), "x")
          .find("\"findings\": [],\n  \"directives\": [],\n  \"show-if\": [],\n  \"words\": []\n}"),
      std::string::npos);
}

TEST(ReportFormatTest, TextHoldsNoControlByteButOneLineEndPerFinding) {
  CheckReport report = Sample();
  report.findings.push_back({0, Severity::kWarning, "two\nlines\r", "bad\x1B]0;title\x07name"});
  report.findings.push_back({0, Severity::kNote, "x", "forged\nmenu/config.mnu:1: error: y"});
  const std::string text = FormatText(report, "menu\x1B[2J/config.mnu");
  size_t lines = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\n') {
      ++lines;
      continue;
    }
    EXPECT_FALSE(
        c < 0x20 || c == 0x7F ||
        (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F))
        << "byte " << i << " of:\n"
        << text;
  }
  EXPECT_EQ(lines, report.findings.size() + 1) << text;
  EXPECT_NE(text.find("bad\\x1B]0;title\\x07name: warning: two\\x0Alines\\x0D\n"),
            std::string::npos)
      << text;
}

// A caption quoted in a finding with a right-to-left override would show the rest of the report's
// line reversed ("x\u202Eexe.txt" reads "xtxt.exe"); a line separator starts a line in some
// terminals. Both shapes show such characters by number; other text beyond ASCII stays as it is.
TEST(ReportFormatTest, BidiControlsAndLineSeparatorsAreShownByTheirNumbers) {
  CheckReport report;
  report.findings = {{2, Severity::kWarning,
                      "caption \"x\u202Eexe.txt\", \u2066iso\u2069 \u200F\u061C, "
                      "line\u2028sep\u2029, caf\u00E9 \u65E5"}};
  report.directives = {{1, 0, DirectivePlace::kAboveTitle, "prompt", "p\u202Dq"}};
  const std::string text = FormatText(report, "menu/config.mnu");
  EXPECT_NE(text.find("caption \"x\\u202Eexe.txt\", \\u2066iso\\u2069 \\u200F\\u061C, "
                      "line\\u2028sep\\u2029, caf\u00E9 \u65E5\n"),
            std::string::npos)
      << text;
  const std::string json = FormatJson(report, "menu/config.mnu");
  EXPECT_NE(json.find("caption \\\"x\\u202eexe.txt\\\", \\u2066iso\\u2069 \\u200f\\u061c, "
                      "line\\u2028sep\\u2029, caf\u00E9 \u65E5\""),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"value\": \"p\\u202dq\""), std::string::npos) << json;
}

// Every finding and directive names its file, the menu file's too, and each path is written with
// the one separator of the system the checker runs on, whatever separators the medium's root and
// the files below it were given with.
TEST(ReportFormatTest, EveryFileIsNamedWithTheSystemsOneSeparator) {
  CheckReport report;
  report.findings = {{2, Severity::kWarning, "w"},
                     {3, Severity::kNote, "n", "menu/config.he.mnu"},
                     {0, Severity::kNote, "m", "."}};
  report.directives = {{1, 0, DirectivePlace::kAboveTitle, "prompt", "p"},
                       {4, 1, DirectivePlace::kEntry, "arguments", "a", "menu/config.he.mnu"}};
#ifdef _WIN32
  const std::string menu = "D:\\medium\\menu\\config.mnu";
  const std::string language = "D:\\medium\\menu\\config.he.mnu";
  const std::string language_json = "D:\\\\medium\\\\menu\\\\config.he.mnu";
  const std::string root = "D:\\medium";
#else
  const std::string menu = "D:/medium/menu/config.mnu";
  const std::string language = "D:/medium/menu/config.he.mnu";
  const std::string language_json = language;
  const std::string root = "D:/medium";
#endif
  const std::string text = FormatText(report, menu, "D:/medium");
  EXPECT_NE(text.find(menu + ":2: warning: w\n"), std::string::npos) << text;
  EXPECT_NE(text.find(language + ":3: note: n\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\n" + root + ": note: m\n"), std::string::npos) << text;

  const std::string json = FormatJson(report, menu, "D:/medium");
  const auto count = [&](const std::string& part) {
    size_t found = 0;
    for (size_t at = json.find(part); at != std::string::npos; at = json.find(part, at + 1)) {
      ++found;
    }
    return found;
  };
  EXPECT_EQ(count("{\"file\": "), 5u) << json;
  EXPECT_EQ(count("{\"file\": \"" + language_json + "\", \"line\": "), 2u) << json;
}

// The words of each entry's arguments: in JSON always, in the text on request, each word escaped so
// that a quote inside it cannot be taken for a word's end.
TEST(ReportFormatTest, WordsAreListedInJsonAndInTheTextOnRequest) {
  CheckReport report;
  report.words = {{4, 1, {"Sag \"Hallo", "zur", "Welt"}},
                  {9, 2, {"", "a\\b\x1B"}, "menu/config.de.mnu"}};
  EXPECT_EQ(FormatText(report, "menu/config.mnu").find("words"), std::string::npos);
  const std::string text = FormatText(report, "menu/config.mnu", "", true);
  EXPECT_NE(text.find("menu/config.mnu:4: words: entry 1: \"Sag \\\"Hallo\" \"zur\" \"Welt\"\n"),
            std::string::npos)
      << text;
#ifdef _WIN32
  const std::string language = "menu\\config.de.mnu";
  const std::string language_json = "menu\\\\config.de.mnu";
#else
  const std::string language = "menu/config.de.mnu";
  const std::string language_json = language;
#endif
  EXPECT_NE(text.find(language + ":9: words: entry 2: \"\" \"a\\\\b\\x1B\"\n"), std::string::npos)
      << text;
  const std::string json = FormatJson(report, "menu/config.mnu");
  EXPECT_NE(json.find("  \"words\": [\n"
                      "    {\"file\": \"menu/config.mnu\", \"line\": 4, \"entry\": 1, \"words\": "
                      "[\"Sag \\\"Hallo\", \"zur\", \"Welt\"]},\n"
                      "    {\"file\": \"" +
                      language_json +
                      "\", \"line\": 9, \"entry\": 2, \"words\": [\"\", \"a\\\\b\\u001b\"]}\n"
                      "  ]\n}\n"),
            std::string::npos)
      << json;
}

}  // namespace
}  // namespace tolvar
