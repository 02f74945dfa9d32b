#include "platform/x11/background_selection.h"

#include "platform/failure.h"

namespace kazunavi {

BackgroundSelection::BackgroundSelection(std::unique_ptr<X11Connection> direct,
                                         std::unique_ptr<X11Connection> reading,
                                         SelectionLimits limits, std::chrono::milliseconds patience)
    : direct_(std::move(direct)),
      reading_(std::move(reading)),
      ownerWatch_(*direct_),
      reader_(*reading_, limits),
      patience_(patience),
      thread_([this](std::stop_token stop) { serve(stop); }) {}

std::optional<BackgroundSelection::Answer> BackgroundSelection::look(xcb_window_t owner) {
    std::unique_lock lock(mutex_);
    if (!reading_now_) {
        wanted_ = owner;
        reading_now_ = true;
        const std::uint64_t before = answers_;
        asked_.notify_one();
        answered_.wait_for(lock, patience_, [&] { return answers_ != before; });
    }
    return latest_;
}

void BackgroundSelection::forget() {
    const std::lock_guard lock(mutex_);
    latest_.reset();
    if (!reading_now_) {
        reader_.forget();  // the reading thread uses it only while reading
    }
}

void BackgroundSelection::serve(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (asked_.wait(lock, stop, [&] { return wanted_.has_value(); })) {
        Answer answer;
        answer.owner = *wanted_;
        wanted_.reset();
        lock.unlock();
        try {
            answer.hasText = reader_.hasText(answer.owner);
            if (answer.hasText) {
                answer.text = reader_.text(answer.owner).value_or(SharedText());
            }
        } catch (const Failure& e) {
            answer.failure = e.what();
        }
        lock.lock();
        latest_ = std::move(answer);
        ++answers_;
        reading_now_ = false;
        answered_.notify_all();
    }
}

}  // namespace kazunavi
