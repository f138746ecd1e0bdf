#pragma once
// Whole channels moved as records: inserting an empty channel, deleting,
// moving and clearing channels. A record travels with every byte it holds,
// including the bits the grid does not show. Channels are numbered 1-128.
#include "image/RadioImage.h"

struct ChannelSpan {
    int first = 1;
    int last = 1;
    int Count() const { return last - first + 1; }
};

// Inserts span.Count() empty channels before span.first, shifting the
// following channels down. Refused (nothing changes) when a channel that
// would be pushed past 128 is in use.
bool InsertEmptyChannels(RadioImage& image, ChannelSpan span);
// Removes the channels of the span; the following ones move up and the last
// channels of the table become empty.
void DeleteChannels(RadioImage& image, ChannelSpan span);
// Moves the span one channel up (delta -1) or down (+1); the channel it passes
// takes the freed place. Refused at the ends of the table.
bool MoveChannels(RadioImage& image, ChannelSpan span, int delta);
// Empties the channels of the span.
void ClearChannels(RadioImage& image, ChannelSpan span);
