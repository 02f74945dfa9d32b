#include "platform/common/ini_document.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kazunavi {
namespace {

using namespace std::string_literals;

std::optional<std::string> valueOf(const IniDocument& document, std::string_view section,
                                   std::string_view key) {
    const auto value = document.value(section, key);
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

std::string afterSet(std::string_view text, std::string_view section, std::string_view key,
                     std::string_view value) {
    IniDocument document = IniDocument::parse(text);
    document.set(section, key, value);
    return document.serialize();
}

TEST(IniDocumentTest, UnchangedTextIsWrittenBackByteForByte) {
    for (const std::string& text : {
             std::string(""),
             std::string("[a]\r\nk=v\r\n"),
             std::string("[a]\nk=v\n\n; note\r\n[b]\rx=1\r\r\n  odd line\n"),
             std::string("no final break=1\r\n[s]\r\nk=v"),
             "before \0 any \0 section\r\n[s]\r\n"s,
             std::string("\r\n\r\n\n\r"),
         }) {
        EXPECT_EQ(IniDocument::parse(text).serialize(), text);
    }
}

TEST(IniDocumentTest, MissingSectionsAndKeysHaveNoValue) {
    const IniDocument document = IniDocument::parse("[KeepCount]\r\nCount=3\r\n");
    EXPECT_EQ(valueOf(document, "KeepCount", "Count"), "3");
    EXPECT_EQ(valueOf(document, "KeepCount", "Name0"), std::nullopt);
    EXPECT_EQ(valueOf(document, "KeepURL", "Count"), std::nullopt);
    EXPECT_EQ(valueOf(IniDocument(), "KeepCount", "Count"), std::nullopt);
}

TEST(IniDocumentTest, NamesMatchWithoutRegardToLetterCase) {
    const IniDocument document = IniDocument::parse("[KeepURL]\r\nName0=First\r\n");
    EXPECT_EQ(valueOf(document, "keepurl", "NAME0"), "First");
    EXPECT_EQ(valueOf(document, "KEEPURL", "name0"), "First");
    // Spaces around the names asked for do not count; tabs do.
    EXPECT_EQ(valueOf(document, "  KeepURL ", " Name0  "), "First");
    EXPECT_EQ(valueOf(document, "\tKeepURL", "Name0"), std::nullopt);
}

TEST(IniDocumentTest, BlanksAroundNamesAndValuesInTheFileDoNotCount) {
    const IniDocument document = IniDocument::parse(
        " \t[ \tSec \v]  \r\n \t Key \t=  \t value with  inner  blanks \v\t \r\n");
    EXPECT_EQ(valueOf(document, "Sec", "Key"), "value with  inner  blanks");
}

TEST(IniDocumentTest, OnePairOfEnclosingQuotesIsRemoved) {
    const IniDocument document = IniDocument::parse(
        "[q]\r\n"
        "double=  \"  spaced  \"  \r\n"
        "single='x'\r\n"
        "nested=\"'inner'\"\r\n"
        "twice=\"\"x\"\"\r\n"
        "mixed=\"x'\r\n"
        "open=\"x\r\n"
        "lone=\"\r\n"
        "empty=\"\"\r\n"
        "inside=a\"b\"c\r\n");
    EXPECT_EQ(valueOf(document, "q", "double"), "  spaced  ");
    EXPECT_EQ(valueOf(document, "q", "single"), "x");
    EXPECT_EQ(valueOf(document, "q", "nested"), "'inner'");
    EXPECT_EQ(valueOf(document, "q", "twice"), "\"x\"");
    EXPECT_EQ(valueOf(document, "q", "mixed"), "\"x'");
    EXPECT_EQ(valueOf(document, "q", "open"), "\"x");
    EXPECT_EQ(valueOf(document, "q", "lone"), "\"");
    EXPECT_EQ(valueOf(document, "q", "empty"), "");
    EXPECT_EQ(valueOf(document, "q", "inside"), "a\"b\"c");
}

TEST(IniDocumentTest, TheFirstSectionAndTheFirstKeyOfANameWin) {
    const IniDocument document = IniDocument::parse(
        "[s]\r\nk=first\r\nK=second\r\n[other]\r\nx=1\r\n[S]\r\nk=third\r\nonly=later\r\n");
    EXPECT_EQ(valueOf(document, "s", "k"), "first");
    EXPECT_EQ(valueOf(document, "s", "only"), std::nullopt);
}

TEST(IniDocumentTest, CommentsLinesWithoutEqualsAndLinesBeforeTheFirstSectionHoldNoKeys) {
    const IniDocument document = IniDocument::parse(
        "top=1\r\n"
        "[s]\r\n"
        ";c=1\r\n"
        " \t;d=1\r\n"
        "bare\r\n"
        "semi;colon=2\r\n"
        "v=;not a comment\r\n"
        "#hash=3\r\n");
    EXPECT_EQ(valueOf(document, "", "top"), std::nullopt);
    EXPECT_EQ(valueOf(document, "s", ";c"), std::nullopt);
    EXPECT_EQ(valueOf(document, "s", "c"), std::nullopt);
    EXPECT_EQ(valueOf(document, "s", ";d"), std::nullopt);
    EXPECT_EQ(valueOf(document, "s", "bare"), std::nullopt);
    EXPECT_EQ(valueOf(document, "s", "semi;colon"), "2");
    EXPECT_EQ(valueOf(document, "s", "v"), ";not a comment");
    EXPECT_EQ(valueOf(document, "s", "#hash"), "3");
}

TEST(IniDocumentTest, SectionHeadersAsTheWindowsParserReadsThem) {
    const IniDocument document = IniDocument::parse(
        "[open   \r\na=1\r\n"
        "[closed]trailing=text\r\nb=2\r\n"
        "[sec]tion]\r\nc=3\r\n"
        "[]\r\nd=4\r\n"
        "[[x]\r\ne=5\r\n");
    EXPECT_EQ(valueOf(document, "open", "a"), "1");
    EXPECT_EQ(valueOf(document, "closed", "b"), "2");
    EXPECT_EQ(valueOf(document, "closed", "trailing"), std::nullopt);
    EXPECT_EQ(valueOf(document, "sec", "c"), "3");
    EXPECT_EQ(valueOf(document, "", "d"), "4");
    EXPECT_EQ(valueOf(document, "[x", "e"), "5");
}

TEST(IniDocumentTest, AllLineBreaksSeparateLines) {
    const IniDocument document = IniDocument::parse("[s]\na=1\rb=2\r\nc=3");
    EXPECT_EQ(valueOf(document, "s", "a"), "1");
    EXPECT_EQ(valueOf(document, "s", "b"), "2");
    EXPECT_EQ(valueOf(document, "s", "c"), "3");
}

TEST(IniDocumentTest, SecondBytesOfDoubleByteCharactersAreNotAsciiInCodePage932) {
    // ゾ is 83 5D (its second byte looks like ']'), ア is 83 41 ('A'), ヂ is 83 61 ('a').
    const std::string zo = "\x83\x5D";
    const std::string a = "\x83\x41";
    const std::string dji = "\x83\x61";
    const IniDocument document =
        IniDocument::parse("[" + zo + "]\r\nk=1\r\n[" + a + "]\r\n" + a + "=2\r\n");
    EXPECT_EQ(valueOf(document, zo, "k"), "1");
    EXPECT_EQ(valueOf(document, a, a), "2");
    EXPECT_EQ(valueOf(document, dji, a), std::nullopt);
    EXPECT_EQ(valueOf(document, a, dji), std::nullopt);

    // In a UTF-8 file the same bytes are no double-byte characters.
    const IniDocument utf8 = IniDocument::parse("[\x83]x]\r\nk=1\r\n", IniCharset::kUtf8);
    EXPECT_EQ(valueOf(utf8, "\x83", "k"), "1");
}

TEST(IniDocumentTest, AFileWrittenFromNothingHoldsSectionsAndKeysInWritingOrder) {
    IniDocument document;
    document.set("KeepCount", "Count", "2");
    document.set("KeepURL", "Name0", "First");
    document.set("KeepURL", "URL0", "http://a/");
    document.set("KeepURL", "Name1", "Second");
    document.set("KeepURL", "URL1", "http://b/");
    EXPECT_EQ(document.serialize(),
              "[KeepCount]\r\nCount=2\r\n"
              "[KeepURL]\r\nName0=First\r\nURL0=http://a/\r\nName1=Second\r\nURL1=http://b/\r\n");
}

TEST(IniDocumentTest, AnExistingKeyIsReplacedWhereItStandsWithItsSpelling) {
    EXPECT_EQ(afterSet("[S]\r\na=1\r\nKey = old \r\nb=2\r\n", "s", "KEY", " new "),
              "[S]\r\na=1\r\nKey= new \r\nb=2\r\n");
    // Only the first of two equal keys.
    EXPECT_EQ(afterSet("[s]\r\nk=1\r\nk=2\r\n", "s", "k", "3"), "[s]\r\nk=3\r\nk=2\r\n");
    // A replaced last line gets its line break.
    EXPECT_EQ(afterSet("[s]\r\nk=1", "s", "k", "2"), "[s]\r\nk=2\r\n");
    // Untouched lines keep their own line breaks.
    EXPECT_EQ(afterSet("[s]\na=1\nk=1\n", "s", "k", "2"), "[s]\na=1\nk=2\r\n");
}

TEST(IniDocumentTest, ANewKeyGoesRightAfterTheLastKeyOfItsSection) {
    EXPECT_EQ(afterSet("[a]\r\nx=1\r\n\r\n; about b\r\n[b]\r\ny=2\r\n", "a", "z", "3"),
              "[a]\r\nx=1\r\nz=3\r\n\r\n; about b\r\n[b]\r\ny=2\r\n");
    // Comments between keys stay where they are.
    EXPECT_EQ(afterSet("[a]\r\n;c1\r\nx=1\r\n;c2\r\ny=2\r\n;c3\r\n", "a", "z", "3"),
              "[a]\r\n;c1\r\nx=1\r\n;c2\r\ny=2\r\nz=3\r\n;c3\r\n");
    // A section without keys gets it right after its header.
    EXPECT_EQ(afterSet("[a]\r\n;only a comment\r\n[b]\r\n", "a", "k", "v"),
              "[a]\r\nk=v\r\n;only a comment\r\n[b]\r\n");
    // A last line without a line break gets one.
    EXPECT_EQ(afterSet("[a]\r\nx=1", "a", "y", "2"), "[a]\r\nx=1\r\ny=2\r\n");
    EXPECT_EQ(afterSet("[a]", "A", "y", "2"), "[a]\r\ny=2\r\n");
    // Into the first of two sections of that name.
    EXPECT_EQ(afterSet("[a]\r\nx=1\r\n[a]\r\nw=0\r\n", "a", "y", "2"),
              "[a]\r\nx=1\r\ny=2\r\n[a]\r\nw=0\r\n");
}

TEST(IniDocumentTest, ANewSectionGoesToTheEndOfTheFile) {
    EXPECT_EQ(afterSet("[a]\r\nx=1\r\n", "b", "y", "2"), "[a]\r\nx=1\r\n[b]\r\ny=2\r\n");
    EXPECT_EQ(afterSet("[a]\r\nx=1\r\n\r\n;end\r\n", "b", "y", "2"),
              "[a]\r\nx=1\r\n\r\n;end\r\n[b]\r\ny=2\r\n");
    EXPECT_EQ(afterSet("[a]\nx=1", "b", "y", "2"), "[a]\nx=1\r\n[b]\r\ny=2\r\n");
    EXPECT_EQ(afterSet("", "b", "y", ""), "[b]\r\ny=\r\n");
}

TEST(IniDocumentTest, NamesLoseTheirSpacesAndValuesAreWrittenAsGiven) {
    EXPECT_EQ(afterSet("", "  sec ", "  key ", "  \"value\"  "), "[sec]\r\nkey=  \"value\"  \r\n");
    // Names without spaces find the key written with them.
    IniDocument document;
    document.set(" s ", " k ", "1");
    document.set("s", "k", "2");
    EXPECT_EQ(document.serialize(), "[s]\r\nk=2\r\n");
}

TEST(IniDocumentTest, TextEndsAtItsFirstLineBreakSoItCannotMakeLinesOfItsOwn) {
    IniDocument document;
    document.set("KeepURL", "Name0", "title\r\n[KeepCount]\r\nCount=9999");
    document.set("Keep\nURL", "URL0", "http://a/\rb");
    EXPECT_EQ(document.serialize(), "[KeepURL]\r\nName0=title\r\n[Keep]\r\nURL0=http://a/\r\n");
    EXPECT_EQ(valueOf(document, "KeepCount", "Count"), std::nullopt);
}

TEST(IniDocumentTest, RemovingASectionTakesItsHeaderAndKeysAndLeavesTheRest) {
    IniDocument document = IniDocument::parse(
        ";top\r\n[KeepCount]\r\nCount=2\r\n[keepurl]\r\nName0=a\r\n;note\r\nURL0=b\r\n\r\nbare\r\n"
        "[Other]\r\nx=1\r\n");
    EXPECT_TRUE(document.removeSection("KeepURL"));
    EXPECT_EQ(document.serialize(),
              ";top\r\n[KeepCount]\r\nCount=2\r\n;note\r\n\r\nbare\r\n[Other]\r\nx=1\r\n");
    EXPECT_TRUE(document.removeSection(" keepcount "));
    EXPECT_EQ(document.serialize(), ";top\r\n;note\r\n\r\nbare\r\n[Other]\r\nx=1\r\n");
    EXPECT_FALSE(document.removeSection("KeepCount"));
    EXPECT_EQ(valueOf(document, "Other", "x"), "1");
}

TEST(IniDocumentTest, RemovingASectionTakesOnlyTheFirstOfThatName) {
    IniDocument document = IniDocument::parse("[s]\r\na=1\r\n[t]\r\n[s]\r\nb=2\r\n");
    EXPECT_TRUE(document.removeSection("s"));
    EXPECT_EQ(document.serialize(), "[t]\r\n[s]\r\nb=2\r\n");
    EXPECT_EQ(valueOf(document, "s", "b"), "2");
}

TEST(IniDocumentTest, ReadsBetweenChangesSeeEveryChange) {
    IniDocument doc = IniDocument::parse("[A]\r\nx=1\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\n");
    EXPECT_EQ(doc.value("A", "x"), "1");
    EXPECT_FALSE(doc.value("A", "z"));  // the repeated section is not read
    doc.set("A", "w", "4");             // inserted in the middle: later lines move
    EXPECT_EQ(doc.value("A", "w"), "4");
    EXPECT_EQ(doc.value("B", "y"), "2");
    doc.set("B", "y", "5");
    EXPECT_EQ(doc.value("B", "y"), "5");
    doc.removeSection("A");
    EXPECT_FALSE(doc.value("A", "x"));
    EXPECT_EQ(doc.value("a", "z"), "3");  // the second [a] is now the first of its name
    EXPECT_EQ(doc.value("B", "y"), "5");
}

}  // namespace
}  // namespace kazunavi
