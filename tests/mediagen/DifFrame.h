#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// One DV frame (DIF sequences of 150 blocks of 80 bytes) and the packs its blocks carry.
class DifFrame
{
  public:
    using Pack = std::array<uint8_t, 5>; // pack ID, then four data bytes

    // The DIF block sections that carry packs.
    enum class Section { Subcode = 1, Vaux = 2, Audio = 3 };

    explicit DifFrame(QByteArray bytes) : bytes_(std::move(bytes)) {}

    // Frame number index (from 0) of a file of frameBytes-sized frames; empty bytes past the end.
    static DifFrame Read(const QString &path, qint64 frameBytes, int index);

    const QByteArray &Bytes() const { return bytes_; }
    // The DSF flag of the header block: 625/50 system rather than 525/60.
    bool Is625() const { return bytes_.size() > 3 && (uint8_t(bytes_[3]) & 0x80) != 0; }
    // The first pack with this ID in the given section, in the DIF sequences [first, last).
    std::optional<Pack> FindPack(Section section, uint8_t id, int first = 0, int last = 1 << 30) const;

    static constexpr int SequenceBytes = 150 * 80;

  private:
    std::optional<Pack> PackAt(int offset, uint8_t id) const;

    QByteArray bytes_;
};
