#include "ui/CommandPath.h"

#include <QAction>

CCommandPath::CCommandPath(std::function<bool()> commitOpenEdit, QObject* parent)
    : QObject(parent), m_commitOpenEdit(std::move(commitOpenEdit)) {}

void CCommandPath::Connect(QAction* action, std::function<void()> command) {
    connect(action, &QAction::triggered, this, [this, command = std::move(command)] { Run(command); });
}
