#include "app/SessionBusPreload.h"

#include <QDBusConnection>

SessionBusPreload::SessionBusPreload() : m_connector([] { QDBusConnection::sessionBus(); }) {}
