#include "platform/atomic_file.h"
#include "platform/ini_document.h"
#include "platform/private_profile.h"
#include "platform/utf8.h"
#include "support/bounded_wait.h"
#include "unit/platform/temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
using namespace zq::platform;
using zq::test::TempFolder;
namespace fs = std::filesystem;

std::string repeat(std::string_view piece, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += piece;
    return s;
}

struct ReadCase {
    const char* what;
    const char* text; // nullptr: no file at all
    const char* section;
    const char* key;
    const char* expected;
};

class IniRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, GivesValueOrDefault) {
    const ReadCase& c = GetParam();
    TempFolder dir;
    if (c.text) dir.write("t.ini", c.text);
    EXPECT_EQ(readProfileString(dir / "t.ini", c.section, c.key, "0"), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRead,
    ::testing::Values(
        ReadCase{"missing file", nullptr, "S", "k", "0"},
        ReadCase{"missing section", "[A]\nk=1\n", "B", "k", "0"},
        ReadCase{"missing key", "[A]\nk=1\n", "A", "j", "0"}, ReadCase{"plain", "[A]\nk=1\n", "A", "k", "1"},
        ReadCase{"section and key ignore case", "[PROFILEDEVICENAME]\nCount=3\n", "profiledevicename",
                 "COUNT", "3"},
        ReadCase{"blanks around names and value", "  [ A ]  \n\t k \t=  v w \t\n", "A", "k", "v w"},
        ReadCase{"blanks in the caller's names", "[A]\nk=1\n", " A ", " k\t", "1"},
        ReadCase{"empty value is not the default", "[A]\nk=\n", "A", "k", ""},
        ReadCase{"first of two sections wins", "[A]\nk=1\n[a]\nk=2\nj=3\n", "A", "j", "0"},
        ReadCase{"first of two keys wins", "[A]\nk=1\nK=2\n", "A", "k", "1"},
        ReadCase{"value keeps later equals signs", "[A]\np=a=b\n", "A", "p", "a=b"},
        ReadCase{"comment is no key", "[A]\n;k=1\n", "A", ";k", "0"},
        ReadCase{"key before any section", "k=1\n[A]\n", "A", "k", "0"},
        ReadCase{"key of another section", "[A]\nk=1\n[B]\nj=2\n", "A", "j", "0"},
        ReadCase{"CRLF lines", "[A]\r\nk=1\r\n", "A", "k", "1"},
        ReadCase{"byte order mark", "\xEF\xBB\xBF[A]\nk=1\n", "A", "k", "1"},
        ReadCase{"no final line break", "[A]\nk=1", "A", "k", "1"},
        ReadCase{"UTF-8 value", "[A]\nk=Profil \xC3\xA9t\xC3\xA9\n", "A", "k", "Profil \xC3\xA9t\xC3\xA9"},
        ReadCase{"lone CR ends a line", "[A]\rk=1\rj=2\r", "A", "j", "2"},
        ReadCase{"CR in a line ends it", "[A]\nk=a\rb=c\n", "A", "k", "a"},
        ReadCase{"what follows the CR is a line", "[A]\nk=a\rb=c\n", "A", "b", "c"},
        ReadCase{"CR CR LF leaves no CR in the value", "[A]\r\nk=v\r\r\n", "A", "k", "v"},
        ReadCase{"LF CR is two line ends", "[A]\n\rk=1\n", "A", "k", "1"},
        ReadCase{"CR before the section", "\r[A]\r\r\nk=1", "A", "k", "1"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(IniRead, CutsValuesAndDefaultsTo259Characters) {
    TempFolder dir;
    const std::string ascii(300, 'x');
    const std::string accented = repeat("\xC3\xA9", 300); // 300 two-byte characters
    const std::string han = repeat("\xE6\x96\x87", 300);  // 300 three-byte characters
    ASSERT_TRUE(writeProfileString(dir / "t.ini", "N", "a", ascii));
    ASSERT_TRUE(writeProfileString(dir / "t.ini", "N", "e", accented));
    ASSERT_TRUE(writeProfileString(dir / "t.ini", "N", "h", han));

    EXPECT_EQ(readProfileString(dir / "t.ini", "N", "a", "0"), std::string(259, 'x'));
    EXPECT_EQ(readProfileString(dir / "t.ini", "N", "e", "0"), repeat("\xC3\xA9", 259));
    EXPECT_EQ(readProfileString(dir / "t.ini", "N", "h", "0"), repeat("\xE6\x96\x87", 259));
    EXPECT_EQ(readProfileString(dir / "t.ini", "N", "missing", ascii), std::string(259, 'x'));
    EXPECT_EQ(readProfileString(dir / "t.ini", "N", "a", "0").size(), 259u);
}

TEST(IniRead, DefaultLosesTrailingBlanksOnly) {
    struct Case {
        const char* defaultValue;
        const char* expected;
    };
    const Case cases[] = {{"  x  ", "  x"}, {"x \t", "x"},   {" \t ", ""},
                          {"", ""},         {"a b ", "a b"}, {"\tv", "\tv"}};
    TempFolder dir;
    dir.write("t.ini", "[A]\nk=1\n");
    for (const auto& c : cases) {
        EXPECT_EQ(readProfileString(dir / "t.ini", "A", "missing", c.defaultValue), c.expected)
            << c.defaultValue;
        EXPECT_EQ(readProfileString(dir / "none.ini", "A", "k", c.defaultValue), c.expected)
            << c.defaultValue;
        const std::vector<std::string> keys = {"k", "missing"};
        EXPECT_EQ(readProfileStrings(dir / "t.ini", "A", keys, c.defaultValue),
                  (std::vector<std::string>{"1", c.expected}));
    }
    // The blanks go before the cut: a long default keeps 259 characters that are not trailing blanks.
    EXPECT_EQ(
        readProfileString(dir / "t.ini", "A", "missing", std::string(258, 'x') + "  y" + std::string(9, ' ')),
        std::string(258, 'x') + " ");
    EXPECT_EQ(readProfileString(dir / "t.ini", "A", "missing", std::string(300, 'x') + "   "),
              std::string(259, 'x'));
}

TEST(IniRead, ManyKeysAtOnceGiveWhatSingleReadsGive) {
    TempFolder dir;
    dir.write("t.ini", "[Macro]\n0 = a \nKEY1=b\n3=" + std::string(300, 'z') + "\n[Other]\n2=c\n");
    const std::vector<std::string> keys = {"0", "key1", "2", "3", " 0 "};
    const auto many = readProfileStrings(dir / "t.ini", "macro", keys, "0");
    ASSERT_EQ(many.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(many[i], readProfileString(dir / "t.ini", "macro", keys[i], "0")) << keys[i];
    EXPECT_EQ(many[0], "a");
    EXPECT_EQ(many[2], "0");
    EXPECT_EQ(many[3].size(), 259u);
    EXPECT_EQ(readProfileStrings(dir / "none.ini", "Macro", keys, "d"), std::vector<std::string>(5, "d"));
}

TEST(Utf8, CutNeverSplitsASequenceAndCountsStrayBytesAsCharacters) {
    EXPECT_EQ(cutToCharacters("a\xC3\xA9"
                              "b",
                              2),
              "a\xC3\xA9");
    EXPECT_EQ(cutToCharacters("\xF0\x9F\x98\x80z", 1), "\xF0\x9F\x98\x80");
    EXPECT_EQ(cutToCharacters("\xFF\xC3z", 2), "\xFF\xC3"); // two stray bytes
    EXPECT_EQ(cutToCharacters("\xE6\x96", 1), "\xE6");      // truncated sequence: one byte each
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));                  // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));              // surrogate
    EXPECT_TRUE(isValidUtf8("\xE6\x96\x87\xF4\x8F\xBF\xBF"));
}

TEST(IniWrite, CreatesFileSectionAndKey) {
    TempFolder dir;
    const auto file = dir / "new.ini";
    ASSERT_TRUE(writeProfileString(file, "PROFILEDEVICECOUNT", "count", "3"));
    ASSERT_TRUE(writeProfileString(file, "PROFILEDEVICENAME", "0", "profile1"));
    ASSERT_TRUE(writeProfileString(file, "PROFILEDEVICECOUNT", "other", "x"));
    EXPECT_EQ(dir.read("new.ini"),
              "[PROFILEDEVICECOUNT]\ncount=3\nother=x\n[PROFILEDEVICENAME]\n0=profile1\n");
}

TEST(IniWrite, ReplacesInPlaceAndKeepsEveryOtherLine) {
    TempFolder dir;
    dir.write("t.ini", "; made by hand\r\n[A]\r\nx=1\r\n Key = old \r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
    ASSERT_TRUE(writeProfileString(dir / "t.ini", "a", "KEY", "new"));
    ASSERT_TRUE(writeProfileString(dir / "t.ini", "A", "added", "4"));
    ASSERT_TRUE(writeProfileString(dir / "t.ini", "B", "z", "  padded  "));
    EXPECT_EQ(dir.read("t.ini"),
              "; made by hand\r\n[A]\r\nx=1\r\nKey=new\r\ny=2\r\nadded=4\r\n\r\n[B]\r\nz=  padded  \r\n");
    EXPECT_EQ(readProfileString(dir / "t.ini", "B", "z", "0"), "padded");
}

TEST(IniWrite, WritesTheValueAsGivenAndReadsItTrimmed) {
    struct Case {
        const char* before; // the key's line, or nullptr for none
        std::string value;
        const char* after; // the key's line once written
        bool rewritten;    // whether the file was replaced
    };
    const Case cases[] = {
        {nullptr, " 1 ", "k= 1 ", true}, {nullptr, "\tv", "k=\tv", true},  {"k=1", " 1", "k= 1", true},
        {"k= 1", " 1", "k= 1", false},   {"k = 1 ", "1", "k = 1 ", false}, {"k = 1", "1 ", "k=1 ", true},
        {"k=1", "  ", "k=  ", true},     {"k=", "", "k=", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.before ? c.before : "(none)") + " <- '" + c.value + "'");
        TempFolder dir;
        dir.write("t.ini", std::string("[A]\n") + (c.before ? std::string(c.before) + "\n" : ""));
        struct stat before {};
        ASSERT_EQ(::stat((dir / "t.ini").c_str(), &before), 0);
        ASSERT_TRUE(writeProfileString(dir / "t.ini", "A", "k", c.value));
        EXPECT_EQ(dir.read("t.ini"), std::string("[A]\n") + c.after + "\n");
        struct stat after {};
        ASSERT_EQ(::stat((dir / "t.ini").c_str(), &after), 0);
        EXPECT_EQ(before.st_ino != after.st_ino, c.rewritten); // a write replaces the file by rename
        EXPECT_EQ(readProfileString(dir / "t.ini", "A", "k", "0"), trimBlanks(c.value));
    }
    // The batch write keeps blanks as well.
    TempFolder dir;
    const ProfileStringWrite writes[] = {{" A ", " k ", " v "}};
    ASSERT_TRUE(writeProfileStrings(dir / "t.ini", writes));
    EXPECT_EQ(dir.read("t.ini"), "[A]\nk= v \n");
}

// Whatever a file holds, a rewrite for an unrelated key leaves every value reading as before, here and
// for another program that parses the file afresh.
TEST(IniWrite, EveryValueReadsTheSameAfterAnUnrelatedWrite) {
    struct Case {
        std::string text;
        std::vector<std::pair<const char*, const char*>> values; // of section A
        const char* rewritten;                                   // the file after writing A/new=1
    };
    const Case cases[] = {
        {"[A]\r\nk=v\r\r\nj=w\r\n", {{"k", "v"}, {"j", "w"}}, "[A]\r\nk=v\r\n\r\nj=w\r\nnew=1\r\n"},
        {"[A]\rk=v\rj=w", {{"k", "v"}, {"j", "w"}}, "[A]\rk=v\rj=w\rnew=1\r"},
        {"[A]\nk=a\rb=c\r\n", {{"k", "a"}, {"b", "c"}}, "[A]\nk=a\nb=c\nnew=1\n"},
        {"\n\r\r", {}, "\n\n\n[A]\nnew=1\n"},
        {"[A]\r\n\rk=1\r\n", {{"k", "1"}}, "[A]\r\n\r\nk=1\r\nnew=1\r\n"},
        {"[A]\nk= x \t\r", {{"k", "x"}}, "[A]\nk= x \t\nnew=1\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.text));
        TempFolder dir;
        const auto file = dir / "t.ini";
        dir.write("t.ini", c.text);
        for (const auto& [key, value] : c.values)
            EXPECT_EQ(readProfileString(file, "A", key, "-"), value) << key;
        ASSERT_TRUE(writeProfileString(file, "A", "new", "1"));
        EXPECT_EQ(dir.read("t.ini"), c.rewritten);
        const IniDocument disk = IniDocument::parse(dir.read("t.ini"));
        for (const auto& [key, value] : c.values) {
            EXPECT_EQ(readProfileString(file, "A", key, "-"), value) << key;
            EXPECT_EQ(disk.find("A", key).value_or("-"), value) << key;
        }
    }
}

TEST(IniWrite, KeepsByteOrderMarkAndSkipsWritingUnchangedValues) {
    TempFolder dir;
    dir.write("t.ini", "\xEF\xBB\xBF[A]\nk = 1\n");
    ASSERT_TRUE(writeProfileString(dir / "t.ini", "A", "k", "1"));
    EXPECT_EQ(dir.read("t.ini"), "\xEF\xBB\xBF[A]\nk = 1\n"); // untouched
    ASSERT_TRUE(writeProfileString(dir / "t.ini", "A", "k", "2"));
    EXPECT_EQ(dir.read("t.ini"), "\xEF\xBB\xBF[A]\nk=2\n");
}

TEST(IniWrite, RefusesWhatCannotBeStoredInALine) {
    struct Bad {
        const char* section;
        const char* key;
        std::string value;
    };
    const Bad cases[] = {{"A", "k", "two\nlines"}, {"A", "k", "cr\rhere"}, {"A", "k", std::string("n\0l", 3)},
                         {"A]", "k", "v"},         {"A", "k=j", "v"},      {"A", "", "v"},
                         {"A", "  ", "v"},         {"A", "[k", "v"},       {"A", ";k", "v"},
                         {"A\nB", "k", "v"}};
    TempFolder dir;
    dir.write("t.ini", "[A]\nk=1\n");
    for (const auto& c : cases) {
        EXPECT_FALSE(writeProfileString(dir / "t.ini", c.section, c.key, c.value))
            << c.section << "/" << c.key;
    }
    EXPECT_EQ(dir.read("t.ini"), "[A]\nk=1\n");
}

// Files past either bound are not read, so a file of any size costs bounded memory; they are not
// written either, so a file too large to read is never replaced by a part of it.
TEST(IniBounds, FilesOverTheBoundsReadAsMissingAndAreLeftAlone) {
    const std::string head = "[A]\nk=1\n";
    struct Case {
        const char* what;
        std::string text;
        bool readable;
    };
    std::string comment(kMaxProfileFileBytes - head.size(), 'c');
    comment.front() = ';';
    comment.back() = '\n';
    const Case cases[] = {
        {"at the byte bound", head + comment, true},
        {"a byte over it", head + comment + "x", false},
        {"at the line bound", head + std::string(kMaxProfileFileLines - 2, '\n'), true},
        {"a line over it", head + std::string(kMaxProfileFileLines - 1, '\n'), false},
        {"a line over it by lone CRs", head + std::string(kMaxProfileFileLines - 1, '\r'), false},
        {"CR LF is one line end", head + repeat("\r\n", static_cast<int>(kMaxProfileFileLines) - 2), true},
        {"a final line without its break counts", head + std::string(kMaxProfileFileLines - 2, '\n') + ";",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        const auto file = dir / "t.ini";
        dir.write("t.ini", c.text);
        EXPECT_EQ(readProfileString(file, "A", "k", "0"), c.readable ? "1" : "0");
        EXPECT_EQ(readProfileKeyNames(file, "A").size(), c.readable ? 1u : 0u);
        EXPECT_EQ(writeProfileString(file, "A", "k", "2"), c.readable);
        if (!c.readable) {
            EXPECT_EQ(dir.read("t.ini"), c.text);
            EXPECT_FALSE(deleteProfileKey(file, "A", "k"));
        }
    }
}

TEST(IniWrite, FailsWithoutFolderAndLeavesNoTemporaryFiles) {
    TempFolder dir;
    EXPECT_FALSE(writeProfileString(dir / "no" / "t.ini", "A", "k", "1"));
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(writeProfileString(dir / "t.ini", "A", "k", std::to_string(i)));
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir.path())) {
        ++files;
        EXPECT_EQ(e.path().filename(), "t.ini");
    }
    EXPECT_EQ(files, 1);
}

TEST(IniWrite, KeepsModeAndSymbolicLink) {
    TempFolder dir;
    dir.write("real.ini", "[A]\nk=1\n");
    ::chmod((dir / "real.ini").c_str(), 0640);
    fs::create_symlink("real.ini", dir / "link.ini");
    ASSERT_TRUE(writeProfileString(dir / "link.ini", "A", "k", "2"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.ini"));
    EXPECT_EQ(dir.read("real.ini"), "[A]\nk=2\n");
    struct stat st {};
    ASSERT_EQ(::stat((dir / "real.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(IniCache, SeesChangesMadeByOthers) {
    TempFolder dir;
    const auto file = dir / "t.ini";
    dir.write("t.ini", "[A]\nk=1\n");
    EXPECT_EQ(readProfileString(file, "A", "k", "0"), "1");
    // Same size, replaced by rename as editors do: a new inode.
    dir.write("other.ini", "[A]\nk=2\n");
    fs::rename(dir / "other.ini", file);
    EXPECT_EQ(readProfileString(file, "A", "k", "0"), "2");
    // Rewritten in place with another size.
    dir.write("t.ini", "[A]\nk=333\n");
    EXPECT_EQ(readProfileString(file, "A", "k", "0"), "333");
    fs::remove(file);
    EXPECT_EQ(readProfileString(file, "A", "k", "0"), "0");
}

TEST(IniCache, SeesASameSizeRewriteInPlaceWithinOneTimestampTick) {
    // In memory, rewrites are quick enough to land within one tick of the file clock.
    if (!fs::is_directory("/dev/shm")) GTEST_SKIP() << "no /dev/shm";
    const fs::path file = "/dev/shm/zq70-test-" + std::to_string(::getpid()) + ".ini";
    for (int i = 0; i < 50; ++i) {
        const std::string v = std::to_string(i % 10);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << "[A]\nk=" << v << "\n";
        ASSERT_EQ(readProfileString(file, "A", "k", "x"), v) << i;
        ASSERT_EQ(readProfileString(file, "A", "k", "x"), v) << i;
    }
    fs::remove(file);
}

TEST(IniDelete, RemovesKeySectionAndFile) {
    TempFolder dir;
    const auto file = dir / "t.ini";
    dir.write("t.ini", "[A]\nk=1\nj=2\n[B]\nx=1\n\n[C]\ny=1\n");
    EXPECT_TRUE(deleteProfileKey(file, "a", "K"));
    EXPECT_TRUE(deleteProfileSection(file, "b"));
    EXPECT_EQ(dir.read("t.ini"), "[A]\nj=2\n[C]\ny=1\n");
    EXPECT_EQ(readProfileKeyNames(file, "A"), std::vector<std::string>{"j"});
    EXPECT_TRUE(deleteProfileKey(dir / "absent.ini", "A", "k"));
    EXPECT_FALSE(fs::exists(dir / "absent.ini"));
    EXPECT_TRUE(removeProfileFile(file));
    EXPECT_EQ(readProfileString(file, "A", "j", "0"), "0");
    ASSERT_TRUE(writeProfileString(file, "A", "k", "fresh"));
    EXPECT_EQ(dir.read("t.ini"), "[A]\nk=fresh\n");
}

TEST(IniWrite, BatchWritesAllOrNothing) {
    TempFolder dir;
    const auto file = dir / "m.ini";
    const ProfileStringWrite good[] = {
        {"MACRO", "0", "a"}, {"macro", "1", "b"}, {"COUNT", "n", "2"}, {"MACRO", "0", "c"}};
    ASSERT_TRUE(writeProfileStrings(file, good));
    EXPECT_EQ(dir.read("m.ini"), "[MACRO]\n0=c\n1=b\n[COUNT]\nn=2\n");
    const ProfileStringWrite bad[] = {{"MACRO", "0", "x"}, {"MACRO", "1", "y\nz"}};
    EXPECT_FALSE(writeProfileStrings(file, bad));
    EXPECT_EQ(readProfileString(file, "MACRO", "0", "0"), "c");
}

TEST(IniConcurrency, ReadersNeverSeeAPartialWrite) {
    TempFolder dir;
    const auto file = dir / "race.ini";
    const std::string a(200, 'a'), b(100, 'b');
    ASSERT_TRUE(writeProfileString(file, "S", "k", a));
    std::atomic<bool> done{false};
    zq::test::BoundedThread writer([&] {
        for (int i = 0; i < 30; ++i) {
            writeProfileString(file, "S", "k", i % 2 ? a : b);
            writeProfileString(file, "S", std::to_string(i % 7), std::to_string(i));
        }
        done = true;
    });
    int reads = 0;
    std::string wrong;
    EXPECT_TRUE(zq::test::eventually([&] {
        const std::string v = readProfileString(file, "S", "k", "0");
        if (v != a && v != b) wrong = v;
        ++reads;
        return !wrong.empty() || (done && reads >= 10);
    }));
    EXPECT_EQ(wrong, "");
    writer.join();
}

TEST(IniConcurrency, AFileReplacedAsWeWriteItReadsAsTheDiskHoldsIt) {
    // Another program (here a thread going round the lock, as another program does) replaces the file
    // while we write it. Whichever lands last, the next read must give what the disk holds, never our
    // own text under the other file's stamp.
    TempFolder dir;
    const auto file = dir / "t.ini";
    for (int round = 0; round < 150; ++round) {
        const std::string r = std::to_string(round);
        std::latch start(2);
        zq::test::BoundedThread other([&] {
            start.arrive_and_wait();
            writeFileAtomically(file, "[S]\nk=other" + r + "\n");
        });
        start.arrive_and_wait();
        writeProfileString(file, "S", "k", "ours" + r);
        other.join();
        const IniDocument disk = IniDocument::parse(dir.read("t.ini"));
        const auto onDisk = disk.find("S", "k");
        ASSERT_TRUE(onDisk);
        ASSERT_EQ(readProfileString(file, "S", "k", "0"), *onDisk) << "round " << round;
    }
}

TEST(IniWrite, WholeFileReplacementKeepsTheBytesAndIsReadAtOnce) {
    TempFolder dir;
    const auto file = dir / "t.ini";
    ASSERT_TRUE(writeProfileString(file, "A", "k", "1"));
    ASSERT_EQ(readProfileString(file, "A", "k", "0"), "1");
    const std::string copied = "[A]\r\nk=2"; // copied as it is: no line break added
    ASSERT_TRUE(replaceProfileFile(file, copied));
    EXPECT_EQ(dir.read("t.ini"), copied);
    EXPECT_EQ(readProfileString(file, "A", "k", "0"), "2");
    EXPECT_FALSE(replaceProfileFile(dir / "no-folder" / "t.ini", copied));
}

} // namespace
