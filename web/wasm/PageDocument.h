#pragma once
// The one document of the page: the image and the table of cell texts the
// grid shows, kept in step the way the desktop window keeps them.
#include <string>

#include "image/ChannelTable.h"
#include "image/RadioImage.h"

class PageDocument {
public:
    PageDocument();

    // The image with the table's texts and selections folded in.
    const RadioImage& Image();
    // Replaces everything with `image` and shows it.
    void Replace(const RadioImage& image);
    IChannelTable& Table() { return m_table; }
    BandLimits Band() const;

private:
    RadioImage m_image;
    PlainChannelTable m_table;
};

PageDocument& TheDocument();
