#include "DifFrame.h"

#include <QFile>

#include <algorithm>

DifFrame DifFrame::Read(const QString &path, qint64 frameBytes, int index)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(frameBytes * index))
        return DifFrame(QByteArray());
    return DifFrame(file.read(frameBytes));
}

std::optional<DifFrame::Pack> DifFrame::PackAt(int offset, uint8_t id) const
{
    if (offset + 5 > bytes_.size() || uint8_t(bytes_[offset]) != id)
        return std::nullopt;
    Pack pack;
    for (int i = 0; i < 5; ++i)
        pack[i] = uint8_t(bytes_[offset + i]);
    return pack;
}

std::optional<DifFrame::Pack> DifFrame::FindPack(Section section, uint8_t id, int first, int last) const
{
    const int end = std::min<qint64>(qint64(last) * SequenceBytes, bytes_.size());
    for (int block = first * SequenceBytes; block + 80 <= end; block += 80) {
        if ((uint8_t(bytes_[block]) >> 5) != int(section))
            continue;
        std::optional<Pack> pack;
        switch (section) {
        case Section::Audio: // one pack after the block ID
            pack = PackAt(block + 3, id);
            break;
        case Section::Vaux: // fifteen packs after the block ID
            for (int i = 0; i < 15 && !pack; ++i)
                pack = PackAt(block + 3 + 5 * i, id);
            break;
        case Section::Subcode: // six sync blocks: 3 ID bytes, then a pack
            for (int i = 0; i < 6 && !pack; ++i)
                pack = PackAt(block + 3 + 8 * i + 3, id);
            break;
        }
        if (pack)
            return pack;
    }
    return std::nullopt;
}
