#pragma once

#include <QString>
#include <cstdint>

// What the user sees of a video stream's format: size, rate, aspect and codec texts.
struct TVideoData {
    bool Valid = false;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t BitCount = 0;
    int64_t AvgTimePerFrame = 0; // 100 ns units
    QString SubtypeName;
    int32_t AspectX = 0; // 0 = no picture aspect
    int32_t AspectY = 0;
    int32_t BitRate = 0;
    double Fps = 0;
    QString SizeText;
    uint8_t AspectCode = 0; // 0 = 4:3, 1 = 16:9, 2 = no aspect information, 3 = another ratio
    QString Description;
};
