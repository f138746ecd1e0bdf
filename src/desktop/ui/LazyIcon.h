#pragma once
// Icons whose pictures are made the first time they are drawn or measured, not
// while the window that shows them is being built.
#include <QIcon>
#include <functional>

QIcon LazyIcon(std::function<QIcon()> make);
