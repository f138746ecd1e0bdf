#pragma once
// How long the status bar shows feedback (a word about what was just typed or
// done) before its pane goes back to the pointer help or the idle text.
inline constexpr int kStatusFeedbackMs = 8000;
