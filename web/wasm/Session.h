#pragma once
// The page's one open document (the working copy every command goes through,
// its file's name and the questions around them), and the editing session's
// answers as the page reads them.
#include <emscripten/val.h>

#include "document/Document.h"
#include "editor/CellNotice.h"

Document& TheDocument();
inline EditSession& TheSession() { return TheDocument().Session(); }

// { changed, refused, messages: [{ text, caption, warning }], refusal,
//   firstRow, lastRow, selectionsChanged }: the messages as the grid shows
// them, the refusal among them.
emscripten::val ResultValue(const EditResult& result);
// [{ text, caption, warning }], in order.
emscripten::val NoticesValue(const std::vector<CellNotice>& notices);
