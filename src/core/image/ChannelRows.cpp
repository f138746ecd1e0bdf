#include "image/ChannelRows.h"

#include <algorithm>

#include "image/ChannelCodec.h"
#include "image/ChannelTable.h"

namespace {

// Where a channel's record starts; channel 129 is the end of the channel records.
auto Begin(RadioImage& image, int channel) {
    return image.begin() + static_cast<std::ptrdiff_t>(ChannelOffset(channel));
}

bool Valid(ChannelSpan s) { return s.first >= 1 && s.last <= kChannelCount && s.first <= s.last; }

}  // namespace

bool InsertEmptyChannels(RadioImage& image, ChannelSpan span) {
    if (!Valid(span)) return false;
    const int n = span.Count();
    for (int c = kChannelCount - n + 1; c <= kChannelCount; ++c)
        if (ChannelInUse(RecordAt(image, c))) return false;
    std::copy_backward(Begin(image, span.first), Begin(image, kChannelCount - n + 1), Begin(image, kChannelCount + 1));
    ClearChannels(image, span);
    return true;
}

void DeleteChannels(RadioImage& image, ChannelSpan span) {
    if (!Valid(span)) return;
    std::copy(Begin(image, span.last + 1), Begin(image, kChannelCount + 1), Begin(image, span.first));
    ClearChannels(image, {kChannelCount - span.Count() + 1, kChannelCount});
}

bool MoveChannels(RadioImage& image, ChannelSpan span, int delta) {
    if (!Valid(span) || (delta != -1 && delta != 1)) return false;
    if (span.first + delta < 1 || span.last + delta > kChannelCount) return false;
    if (delta < 0)
        std::rotate(Begin(image, span.first - 1), Begin(image, span.first), Begin(image, span.last + 1));
    else
        std::rotate(Begin(image, span.first), Begin(image, span.last + 1), Begin(image, span.last + 2));
    return true;
}

void ClearChannels(RadioImage& image, ChannelSpan span) {
    if (!Valid(span)) return;
    std::fill(Begin(image, span.first), Begin(image, span.last + 1), 0xFF);
}
