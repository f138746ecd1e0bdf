#include "PageDocument.h"

#include <algorithm>

PageDocument::PageDocument() { Replace(NewDocumentImage()); }

const RadioImage& PageDocument::Image() {
    UpdateImageFromGrid(m_table, m_image);
    return m_image;
}

void PageDocument::Replace(const RadioImage& image) {
    m_image = image;
    UpdateGridFromImage(m_image, m_table);
}

BandLimits PageDocument::Band() const {
    const auto& limits = BandLimitTable();
    const int band = std::clamp(m_table.Selection(FormBox::Band), 0, static_cast<int>(limits.size()) - 1);
    return limits[static_cast<std::size_t>(band)];
}

PageDocument& TheDocument() {
    static PageDocument document;
    return document;
}
