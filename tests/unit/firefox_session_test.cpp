#include "platform/linux/firefox_session.h"

#include <gtest/gtest.h>
#include <lz4.h>

namespace kazunavi {
namespace {

// What Firefox writes: the magic, the size, one LZ4 block.
std::string mozLz4(const std::string& text) {
    std::string block(static_cast<std::size_t>(LZ4_compressBound(static_cast<int>(text.size()))),
                      '\0');
    block.resize(static_cast<std::size_t>(LZ4_compress_default(
        text.data(), block.data(), static_cast<int>(text.size()), static_cast<int>(block.size()))));
    const auto size = static_cast<std::uint32_t>(text.size());
    std::string header{"mozLz40\0", 8};
    for (int shift = 0; shift < 32; shift += 8) {
        header += static_cast<char>((size >> shift) & 0xFF);
    }
    return header + block;
}

TEST(FirefoxSession, DecompressesOnlyAWholeMozLz4BufferWithinItsBound) {
    const std::string text = R"({"windows":[]} )" + std::string(3000, 'x') + "\xE8\xAA\x9E";
    const std::string buffer = mozLz4(text);
    ASSERT_LT(buffer.size(), text.size());
    EXPECT_EQ(decompressMozLz4(buffer, text.size()), text);
    EXPECT_EQ(decompressMozLz4(buffer, text.size() - 1), std::nullopt);  // over the bound
    EXPECT_EQ(decompressMozLz4(buffer.substr(0, buffer.size() - 4), 1 << 20), std::nullopt);
    std::string other = buffer;
    other[3] = 'X';  // another magic
    EXPECT_EQ(decompressMozLz4(other, 1 << 20), std::nullopt);
    other = buffer;
    other[8] = static_cast<char>(other[8] + 1);  // a size the block does not fill
    EXPECT_EQ(decompressMozLz4(other, 1 << 20), std::nullopt);
    EXPECT_EQ(decompressMozLz4(buffer.substr(0, 11), 1 << 20), std::nullopt);
    EXPECT_EQ(decompressMozLz4(mozLz4(""), 0), "");
}

TEST(FirefoxSession, FindsTheWindowsPageByItsWholeTitleOnly) {
    const std::optional<std::vector<StoredPage>> pages = storedPages(R"({"windows": [
        {"selected": 2, "tabs": [
            {"index": 1, "entries": [{"url": "http://h/other", "title": "Other"}]},
            {"index": 2, "entries": [{"url": "http://h/1", "title": "News"},
                                     {"url": "http://h/2", "title": "News — Site"}]}]},
        {"selected": 1, "tabs": [{"index": 1, "entries": [
            {"url": "about:preferences", "title": "Settings"}]}]},
        {"selected": 1, "tabs": [{"index": 1, "entries": [
            {"url": "https://h/s", "title": "Blog"}]}]},
        {"selected": 1, "tabs": [{"index": 1, "entries": [{"url": "http://h/a", "title": "Twin"}]}]},
        {"selected": 1, "tabs": [{"index": 1, "entries": [{"url": "http://h/b", "title": "Twin"}]}]},
        {"selected": 3, "tabs": []}, {"selected": 1, "tabs": 5}, {"tabs": [{}]},
        {"selected": 1, "tabs": [{"index": 0, "entries": [{"url": "http://h/x"}]}]}]})");
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->size(), 5u);  // the broken windows show nothing
    const auto page = [&](std::u16string_view title) { return pageOfWindow(*pages, title); };
    // The current entry of the selected tab; its title holds the separator.
    const std::optional<ShownPage> news = page(u"News — Site — Mozilla Firefox");
    ASSERT_TRUE(news);
    EXPECT_EQ(news->url, u"http://h/2");
    EXPECT_EQ(news->titleSuffixLength, 18);
    EXPECT_EQ(page(u"Blog — Mozilla Firefox Private Browsing")->url, u"https://h/s");
    // A store older than the window's title, an earlier entry, a tab behind.
    EXPECT_FALSE(page(u"Blog — Post — Mozilla Firefox"));
    EXPECT_FALSE(page(u"News — Mozilla Firefox"));
    EXPECT_FALSE(page(u"Other — Mozilla Firefox"));
    EXPECT_FALSE(page(u"Settings — Mozilla Firefox"));  // no web page
    EXPECT_FALSE(page(u"Twin — Mozilla Firefox"));      // two pages
    EXPECT_FALSE(page(u"Blog"));
    EXPECT_FALSE(page(u"News — Site"));
    EXPECT_EQ(page(u"Blog - Mozilla Firefox")->url, u"https://h/s");
    EXPECT_FALSE(storedPages("{\"windows\": [{\"selected\": 1, "));
    EXPECT_FALSE(storedPages("[1, 2]"));
    EXPECT_FALSE(storedPages(""));
}

}  // namespace
}  // namespace kazunavi
