#include "app/FontConfigPreload.h"

#ifdef OSTRELTZ_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

FontConfigPreload::FontConfigPreload() {
#ifdef OSTRELTZ_HAVE_FONTCONFIG
    // Fontconfig keeps what it read for the whole process, and Qt's own
    // request for it later finds it done.
    m_reader = std::jthread([] { FcInit(); });
#endif
}

void FontConfigPreload::Finish() {
    if (m_reader.joinable()) m_reader.join();
}
