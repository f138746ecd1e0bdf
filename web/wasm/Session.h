#pragma once
// The page's one open document: the editing session every command goes
// through, and its answers as the page reads them.
#include <emscripten/val.h>

#include "editor/EditSession.h"

EditSession& TheSession();

// { changed, refused, messages: [{ text, caption, warning }], refusal,
//   firstRow, lastRow, selectionsChanged }: the messages as the grid shows
// them, the refusal among them.
emscripten::val ResultValue(const EditResult& result);
