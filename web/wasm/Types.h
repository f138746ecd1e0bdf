#pragma once
// What the page asks of whole channels (insert, delete, move, clear).
enum class RowsOp { Insert, Delete, MoveUp, MoveDown, Clear };
