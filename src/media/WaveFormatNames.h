#pragma once

#include <QString>
#include <cstdint>

// The name of a WAVEFORMATEX format tag; empty for tags without a registered name.
// Pure function: any thread may call it.
QString WaveFormatName(uint16_t tag);
