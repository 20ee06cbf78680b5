// The version answers of the update server, the decision between stable and candidate, and the release
// notes as the window shows them.
#include <gtest/gtest.h>
#include <string>

#include "update/UpdateNotes.h"
#include "update/UpdateVersion.h"

namespace {

UpdateVersion Version(const std::string &text)
{
    UpdateVersion version;
    char why[64];
    EXPECT_TRUE(Update_ParseVersion(text.data(), text.size(), &version, why, sizeof why)) << text << ": " << why;
    return version;
}

TEST(UpdateVersion, ReadsDottedVersionsAndCandidatesAndRefusesAnythingElse)
{
    struct Case {
        std::string answer;
        bool accepted;
        const char *text, *code, *build;
        bool candidate;
    } cases[] = {
        {"2.1.10\n", true, "2.1.10", "2110", "", false},
        {"  2.2.0RC3\r\n", true, "2.2.0RC3", "220", "3", true},
        {"2.2.0-rc12", true, "2.2.0-rc12", "220", "12", true},
        {"12345678.012345", true, "12345678.012345", "12345678012345", "", false},
        {"404", false, "", "", "", false},                // a lone number is no version
        {"1234567890123456", false, "", "", "", false},   // 16 characters: refused, never cut
        {"<html><body>502</body></html>", false, "", "", "", false},
        {"2.1.0/../../x", false, "", "", "", false},      // path characters
        {"2.1.0%s%n", false, "", "", "", false},          // format characters
        {"2.1\x01" "0", false, "", "", "", false},
        {"", false, "", "", "", false},
        {" \r\n", false, "", "", "", false},
        {"RC5", false, "", "", "", false},                // no number before the marker
    };
    for (const Case &c : cases) {
        UpdateVersion version;
        char why[64] = "";
        bool accepted = Update_ParseVersion(c.answer.data(), c.answer.size(), &version, why, sizeof why);
        EXPECT_EQ(accepted, c.accepted) << c.answer;
        if (!accepted) {
            EXPECT_NE(why[0], '\0') << c.answer;
            continue;
        }
        EXPECT_STREQ(version.text, c.text);
        EXPECT_STREQ(version.code, c.code);
        EXPECT_STREQ(version.build, c.build);
        EXPECT_EQ(version.candidate, c.candidate) << c.answer;
    }
}

TEST(UpdateVersion, DecisionTable)
{
    struct Case {
        const char *installed, *stable, *candidate;
        UpdateOffer offer;
        bool rcBuild;
    } cases[] = {
        {"2.1.0", "2.1.10", "2.1.10RC1", UPDATE_OFFER_STABLE, false},
        {"2.1.0", "2.1.0.0", "2.1.1RC1", UPDATE_OFFER_NONE, false},      // equal numbers, candidates ignored
        {"2.2.0", "2.1.10", "2.1.10RC2", UPDATE_OFFER_NONE, false},      // glued digits would offer 2110 > 220
        {"2.1.10", "2.2.0.0", "2.2.0RC1", UPDATE_OFFER_STABLE, false},
        {"2.1.0", "99999999.999999", "1.0RC1", UPDATE_OFFER_STABLE, false}, // long numbers, no overflow
        {"99999999.999999", "99999999.999998", "1.0RC1", UPDATE_OFFER_NONE, false},
        {"2.2.0RC3", "2.2.0.0", "2.2.0RC4", UPDATE_OFFER_STABLE, false}, // stable beats its candidates
        {"2.2.0RC3", "2.1.10", "2.2.0RC4", UPDATE_OFFER_CANDIDATE, true},
        {"2.2.0RC3", "2.1.10", "2.2.0RC10", UPDATE_OFFER_CANDIDATE, true},
        {"2.2.0RC3", "2.1.10", "2.2.0RC3", UPDATE_OFFER_NONE, true},
        {"2.2.0RC3", "2.1.10", "2.1.9RC9", UPDATE_OFFER_NONE, true},     // older numbers, higher build
        {"2.2.0RC3", "2.1.10", "2.3.0RC1", UPDATE_OFFER_CANDIDATE, true},
        {"2.1.0", "2.1.1", "2.1.1RC1", UPDATE_OFFER_STABLE, false},  // three single digits: newer all the same
        {"2.1.0", "2.1.0", "2.1.0RC1", UPDATE_OFFER_NONE, false},   // the installed version itself
        {"2.1.0", "2.0.9", "2.0.9RC1", UPDATE_OFFER_NONE, false},
    };
    for (const Case &c : cases) {
        UpdateVersion installed = Version(c.installed), stable = Version(c.stable), candidate = Version(c.candidate);
        UpdateDecision decision = Update_Decide(stable, candidate, installed);
        EXPECT_EQ(decision.offer, c.offer) << c.installed << " with " << c.stable << " / " << c.candidate;
        EXPECT_EQ(decision.rcBuild, c.rcBuild) << c.installed << " with " << c.stable << " / " << c.candidate;
        if (decision.offer != UPDATE_OFFER_NONE) {
            const UpdateVersion &offered = decision.offer == UPDATE_OFFER_STABLE ? stable : candidate;
            EXPECT_GT(Update_CompareVersions(offered, installed), 0) << "offered at or below the installed version";
        }
    }
    EXPECT_STREQ(Update_Decide(Version("2.1.10"), Version("1.0RC1"), Version("2.1.0")).logLine,
                 "Stable version needs an update: 2110 > 210");
}

TEST(UpdateNotes, LinesAreCleanedWrappedCountedAndSizeTheWindow)
{
    std::string twenty;
    for (int i = 1; i <= 20; i++)
        twenty += "Note " + std::to_string(i) + "\r\n";
    std::string longWord(5000, 'x');
    struct Case {
        std::string body;
        int lines;
        const char *first, *last;
        int width, height;
    } cases[] = {
        {twenty, 15, "Note 1", "Note 15", 430, 475},
        {"Fixed\r\n\r\n\n\rthings\n", 2, "Fixed", "things", 430, 199},
        {"tab\there\x1b[31m red\x7f", 1, "tab here[31m red", "tab here[31m red", 430, 199},
        {longWord, 15, nullptr, nullptr, 710, 475},
        {std::string(150, 'a') + " " + std::string(30, 'b'), 2, nullptr, nullptr, 710, 199},
        {"", 0, nullptr, nullptr, 430, 199},
    };
    for (const Case &c : cases) {
        UpdateNotes notes;
        Update_SplitNotes(c.body.data(), c.body.size(), &notes);
        ASSERT_EQ(notes.count, c.lines) << c.body.substr(0, 40);
        if (c.first != nullptr) {
            EXPECT_STREQ(notes.lines[0], c.first);
            EXPECT_STREQ(notes.lines[notes.count - 1], c.last);
        }
        for (int i = 0; i < notes.count; i++) {
            EXPECT_LE(strlen(notes.lines[i]), (size_t)UPDATE_NOTE_LINE_MAX);
            for (const char *p = notes.lines[i]; *p != '\0'; p++)
                EXPECT_GE((unsigned char)*p, 0x20);
        }
        int width = 0, height = 0;
        Update_NotesWindowSize(notes, &width, &height);
        EXPECT_EQ(width, c.width) << c.body.substr(0, 40);
        EXPECT_EQ(height, c.height) << c.body.substr(0, 40);
    }
    // A long line breaks at a blank when one is near: no word is cut.
    std::string words;
    for (int i = 0; i < 40; i++)
        words += "word" + std::to_string(i) + " ";
    UpdateNotes notes;
    Update_SplitNotes(words.data(), words.size(), &notes);
    std::string joined;
    for (int i = 0; i < notes.count; i++)
        joined += std::string(notes.lines[i]) + " ";
    EXPECT_EQ(joined, words);
}

} // namespace
