// The watcher's memory of a long text gone from the clipboard.

#include <gtest/gtest.h>

#include "platform/sim/sim_desktop.h"
#include "shell/application.h"
#include "shell/model/text_fingerprint.h"

namespace kazunavi {
namespace {

TEST(TextFingerprint, AnyChangedCharacterOrLengthIsAnotherText) {
    const std::u16string text = u"abcde";
    const TextFingerprint print(text);
    EXPECT_TRUE(print.matches(text));
    EXPECT_FALSE(print.matches(u"abcd"));
    EXPECT_FALSE(print.matches(u"abcdef"));
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::u16string changed = text;
        changed[i] = u'\xFFFF';
        EXPECT_FALSE(print.matches(changed)) << i;
    }
    EXPECT_FALSE(print.matches(u"cdeab"));
}

// A long text is forgotten but for its fingerprint once the clipboard lets
// it go; copied again it is still no new text, a changed one is.
TEST(ClipboardWatcher, KnowsALongTextAgainWithoutKeepingIt) {
    SimDesktop desktop;
    Application app(desktop.services());
    app.start();
    Form1& f = app.form1();
    const auto tickWith = [&](std::optional<std::u16string> content) {
        desktop.clipboard.content = std::move(content);
        app.run("timCrip", Event::Timer);
    };
    const std::u16string waiting = u"     - 待機中 -";
    const std::u16string longest(65536, u'b');  // kept whole
    tickWith(longest);
    tickWith(std::nullopt);
    EXPECT_EQ(f.lblOldURL.text(), longest);

    std::u16string text(70000, u'a');
    tickWith(text);
    EXPECT_EQ(f.txtNow.text(), text);
    tickWith(std::nullopt);
    EXPECT_EQ(f.txtNow.text(), waiting);
    EXPECT_EQ(f.lblOldURL.text(), u"");
    tickWith(text);
    EXPECT_EQ(f.txtNow.text(), waiting) << "the same text again";
    EXPECT_EQ(f.lblOldURL.text(), text);

    tickWith(std::nullopt);
    text[35000] = u'b';
    tickWith(text);
    EXPECT_EQ(f.txtNow.text(), text);

    // CLS and a failed tick forget it as they forget a short text.
    tickWith(std::nullopt);
    app.run("lblAccess", Event::Click);
    tickWith(text);
    EXPECT_EQ(f.txtNow.text(), text);
    tickWith(std::nullopt);
    desktop.clipboard.locked = true;
    app.run("timCrip", Event::Timer);
    desktop.clipboard.locked = false;
    tickWith(std::nullopt);
    tickWith(text);
    EXPECT_EQ(f.txtNow.text(), text);
}

}  // namespace
}  // namespace kazunavi
