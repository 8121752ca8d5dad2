#pragma once

#include "media/VideoData.h"
#include "platform/graph/MediaType.h"

#include <QString>
#include <cstdint>

// Texts and values shown to the user for a media type. Pure functions on copies of the format
// blocks: any thread may call them. Numbers use the default locale's decimal separator.

TVideoData DescribeVideoType(const MediaType &mt);
QString SubtypeName(const MediaType &mt);
// Four characters, low byte first; "RGB" when a byte is a control character.
QString FourCCText(uint32_t code);
// Empty unless the media type is audio.
QString AudioSubtypeName(const MediaType &mt);
