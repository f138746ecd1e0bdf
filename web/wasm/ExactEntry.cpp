// Cell edits as the command line's `set` makes them: the column named by its
// caption in either language, and a text taken only when the column accepts
// it as it stands. For scripts driving the module and the scenario tests.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "Session.h"
#include "image/ChannelTable.h"

EMSCRIPTEN_BINDINGS(ostreltz_exact_entry) {
    using namespace emscripten;
    function("columnOfCaption", optional_override([](const std::string& caption) { return ColumnOfCaption(caption); }));
    function("setCellExact", optional_override([](int row, int column, const std::string& text) {
                 return ResultValue(TheSession().SetCell(row, column, text, CellEntry::Exact));
             }));
}
