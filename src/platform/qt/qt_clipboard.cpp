#include "platform/qt/qt_clipboard.h"

#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <utility>

#include "platform/failure.h"
#include "platform/qt/qt_text.h"
#include "platform/x11/background_selection.h"

namespace kazunavi {

QtClipboard::QtClipboard(BackgroundSelection* foreign) : foreign_(foreign) {
    if (foreign_ == nullptr) {
        return;
    }
    // The ids of all windows Qt creates share the resource base of its
    // connection.
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    if (x11 == nullptr || x11->connection() == nullptr) {
        foreign_ = nullptr;  // Qt does not run on X11 here: it does everything
        return;
    }
    const xcb_setup_t* setup = xcb_get_setup(x11->connection());
    ourResourceBase_ = setup->resource_id_base;
    resourceMask_ = setup->resource_id_mask;
}

bool QtClipboard::ownedByUs() {
    return isOurs(foreign_->ownerNow());
}

bool QtClipboard::isOurs(std::uint32_t owner) const {
    return owner != XCB_NONE && (owner & ~resourceMask_) == ourResourceBase_;
}

bool QtClipboard::hasText() {
    lastAnswer_.reset();
    const std::uint32_t owner = foreign_ != nullptr ? foreign_->owner() : XCB_NONE;
    if (foreign_ == nullptr || isOurs(owner)) {
        // Our own text is at hand without asking the X server.
        const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
        return data != nullptr && data->hasText();
    }
    // The text is asked for right after: the same answer serves it.
    lastAnswer_ = foreignText(owner);
    return lastAnswer_->hasText;
}

SharedText QtClipboard::text() {
    const std::uint32_t owner = foreign_ != nullptr ? foreign_->owner() : XCB_NONE;
    if (foreign_ == nullptr || isOurs(owner)) {
        return u16(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
    }
    const std::optional<ForeignText> last = std::exchange(lastAnswer_, std::nullopt);
    return last && last->owner == owner ? last->text : foreignText(owner).text;
}

QtClipboard::ForeignText QtClipboard::foreignText(std::uint32_t owner) {
    if (owner == XCB_NONE) {
        foreign_->forget();
        return {owner, false, SharedText()};
    }
    const std::optional<BackgroundSelection::Answer> answer = foreign_->look(owner);
    if (!answer) {
        return {owner, false, SharedText()};
    }
    if (answer->failure) {
        throw Failure(*answer->failure);
    }
    return {owner, answer->hasText, answer->text};
}

void QtClipboard::clear() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (foreign_ == nullptr || foreign_->ownerNow() == XCB_NONE) {
        clipboard->clear(QClipboard::Clipboard);
        return;
    }
    // Qt lets go only of what it holds, at the time of the user's last
    // action: take the clipboard with nothing on it, then let it go. A write
    // of ours right after (at that same time) then succeeds.
    if (!ownedByUs()) {
        clipboard->setMimeData(new QMimeData, QClipboard::Clipboard);  // Qt takes it over
    }
    clipboard->clear(QClipboard::Clipboard);
    if (foreign_->ownerNow() != XCB_NONE) {
        // The other program copied after the user's last action here.
        foreign_->clear();
    }
}

void QtClipboard::setText(std::u16string_view text) {
    QGuiApplication::clipboard()->setText(qText(text), QClipboard::Clipboard);
    if (foreign_ != nullptr && !ownedByUs()) {
        throw Failure("the clipboard cannot be written");
    }
}

}  // namespace kazunavi
