#include "ui/qt/form_view.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <set>

#include "platform/failure.h"
#include "ui/common/view_kinds.h"
#include "ui/qt/qt_units.h"

namespace kazunavi {

FormView::FormView(Window& model, std::string targetPrefix, Pictures pictures, Dispatch dispatch,
                   Qt::WindowFlags flags)
    : QWidget(nullptr, flags),
      model_(&model),
      prefix_(std::move(targetPrefix)),
      dispatch_(std::move(dispatch)),
      pictures_(std::move(pictures)) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    setFont(defaultFont());
    if (auto found = pictures_.find(""); found != pictures_.end()) {
        background_ = LazyPicture(found->second);
    }
    std::set<std::string_view> earlier;
    for (Element& e : model_->elements()) {
        if (viewKindOf(e) == ViewKind::None) {
            continue;
        }
        if (!e.container.empty() && !earlier.contains(e.container)) {
            throw Failure("the container " + e.container + " of " + e.name() + " comes later");
        }
        earlier.insert(e.name());
        waiting_.push_back(&e);
    }
    buildFitting();
}

FormView::~FormView() = default;

void FormView::setUp(std::function<void(ElementView&)> setUp) {
    setUp_ = std::move(setUp);
    for (ElementView* view : views_) {
        setUp_(*view);
    }
}

QWidget* FormView::builtWidgetOf(std::string_view elementName) const {
    for (ElementView* view : views_) {
        if (view->attached() && view->element().name() == elementName) {
            return view->widget();
        }
    }
    return nullptr;
}

void FormView::buildFitting(bool all) {
    builtForHeight_ = model_->height;
    std::vector<Element*> still;
    std::vector<QWidget*> windowed;
    for (Element* e : waiting_) {
        QWidget* parent = e->container.empty() ? this : builtWidgetOf(e->container);
        // An element below the window's lower edge (the closed detail area)
        // and all it holds wait until the window grows to reach them.
        if (!all && (parent == nullptr || (parent == this && e->geometry.top >= model_->height))) {
            still.push_back(e);
            continue;
        }
        ElementView* view = makeView(*e, parent);
        if (isWindowed(viewKindOf(*e))) {
            windowed.push_back(view->widget());
        }
        if (setUp_) {
            setUp_(*view);
        }
    }
    if (still.size() == waiting_.size()) {
        return;
    }
    waiting_ = std::move(still);
    // Labels, shapes and lines lie beneath the windowed elements of their
    // container: a windowed element always covers them.
    for (QWidget* w : windowed) {
        w->raise();
    }
    // Tab follows the order of the elements, whenever each was built.
    QWidget* previous = nullptr;
    for (Element& e : model_->elements()) {
        if (QWidget* w = builtWidgetOf(e.name())) {
            if (previous != nullptr) {
                QWidget::setTabOrder(previous, w);
            }
            previous = w;
        }
    }
}

ElementView* FormView::makeView(Element& e, QWidget* parent) {
    ElementView* view = nullptr;  // owned by its parent widget
    switch (viewKindOf(e)) {
        case ViewKind::Label:
            view = new LabelView(e, parent);
            break;
        case ViewKind::Panel: {
            auto picture = pictures_.find(e.name());
            view = new PanelView(
                e, picture == pictures_.end() ? LazyPicture() : LazyPicture(picture->second),
                parent);
            break;
        }
        case ViewKind::Shape:
            view = new ShapeView(e, isSolidFill(e), parent);
            break;
        case ViewKind::Line:
            view = new LineView(e, parent);
            break;
        case ViewKind::Button:
            view = new ButtonView(e, parent);
            break;
        case ViewKind::TextBox:
            view = new TextBoxView(e, parent);
            break;
        case ViewKind::Memo:
            view = new MemoView(e, parent);
            break;
        case ViewKind::DropDownList:
            view = new ComboView(e, parent);
            break;
        case ViewKind::None:
            throw Failure(e.name() + " has no view");
    }
    const std::string target = prefix_ + e.name();
    view->setMouseRelay([this, target](Event event, int button) { send(target, event, button); });
    views_.push_back(view);
    return view;
}

void FormView::send(const std::string& target, Event event, int button) {
    if (model_ != nullptr && dispatch_) {
        dispatch_(target, event, button);
    }
}

QWidget* FormView::widgetOf(std::string_view elementName) {
    if (QWidget* built = builtWidgetOf(elementName)) {
        return built;
    }
    if (model_ == nullptr || std::none_of(waiting_.begin(), waiting_.end(), [&](const Element* e) {
            return e->name() == elementName;
        })) {
        return nullptr;
    }
    buildFitting(true);
    return builtWidgetOf(elementName);
}

ElementView* FormView::viewOf(const QWidget* widget) const {
    for (ElementView* view : views_) {
        if (view->widget() == widget) {
            return view;
        }
    }
    return nullptr;
}

void FormView::focusTaken(ElementView& view) {
    if (model_ == nullptr || !view.attached()) {
        return;
    }
    try {
        model_->setFocus(view.element());
        shown_.focusTaken(view.element().name());
    } catch (const Failure&) {
        // A disabled element cannot hold the focus; nothing to record.
    }
}

bool FormView::sync() {
    if (model_ == nullptr) {
        return false;
    }
    if (!waiting_.empty() && model_->height != builtForHeight_) {
        buildFitting();
    }
    bool changed = false;
    if (shown_.elementsChanged(*model_)) {
        for (ElementView* view : views_) {
            if (view->due()) {
                changed = view->sync() || changed;
            }
        }
    }
    const WindowChanges window = shown_.sync(*model_);
    const QSize size(pixels(shown_.width()), pixels(shown_.height()));
    if (window.size) {
        // Grows and shrinks downwards: the top-left corner stays.
        if (windowFlags() & Qt::MSWindowsFixedSizeDialogHint) {
            setFixedSize(size);
        } else {
            resize(size);
        }
        changed = true;
    }
    if (window.visible) {
        if (window.firstShown) {
            // Opens centred on the screen.
            if (const QScreen* screen = QGuiApplication::primaryScreen()) {
                const QRect area = screen->availableGeometry();
                move(area.center() - QPoint(size.width() / 2, size.height() / 2));
            }
        }
        setVisible(shown_.visible());
        changed = true;
    }
    if (window.focus) {
        if (QWidget* target = widgetOf(shown_.focus())) {
            target->setFocus(Qt::OtherFocusReason);
        }
    }
    return changed;
}

bool FormView::focusNextPrevChild(bool next) {
    for (std::size_t tries = 0; tries <= views_.size(); ++tries) {
        if (!QWidget::focusNextPrevChild(next)) {
            return false;
        }
        const QWidget* focused = focusWidget();
        if (focused == nullptr || rect().contains(focused->mapTo(this, focused->rect().center()))) {
            return true;
        }
    }
    return true;
}

void FormView::detach() {
    model_ = nullptr;
    for (ElementView* view : views_) {
        view->detach();
    }
    hide();
}

void FormView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (const QPixmap& background = background_.pixmap(); !background.isNull()) {
        // The picture starts at the top-left corner and is not repeated.
        p.drawPixmap(0, 0, background);
    }
}

void FormView::mousePressEvent(QMouseEvent* event) {
    event->accept();
    pressedLeft_ = event->button() == Qt::LeftButton;
    if (model_ != nullptr) {
        send(model_->name(), Event::MouseDown, buttonCode(event->button()));
    }
}

void FormView::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (model_ != nullptr) {
        send(model_->name(), Event::MouseMove, buttonState(event->buttons()));
    }
}

void FormView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const bool click = pressedLeft_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        pressedLeft_ = false;
    }
    if (model_ != nullptr) {
        send(model_->name(), Event::MouseUp, buttonCode(event->button()));
    }
    if (click && model_ != nullptr) {
        send(model_->name(), Event::Click, 0);
    }
}

void FormView::closeEvent(QCloseEvent* event) {
    // The window goes away through the program's own unload path.
    event->ignore();
    emit closeRequested();
}

}  // namespace kazunavi
