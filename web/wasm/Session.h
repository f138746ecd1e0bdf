#pragma once
// The page's one open document: the editing session every command goes
// through, and its answers as the page reads them.
#include <emscripten/val.h>

#include "editor/EditSession.h"

EditSession& TheSession();

// { changed, refused, messages: [{ text, warning }], refusal, firstRow,
//   lastRow, selectionsChanged }. A frequency outside the band is the one
// message that is no warning.
emscripten::val ResultValue(const EditResult& result);
