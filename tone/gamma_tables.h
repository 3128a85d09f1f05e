// The gamma of the original type and the tables built from it: the power
// table (with an optional linear toe), the grey balance of the IT8
// calibration, and the inverting table of a negative.
#pragma once

#include <cstdint>

#include "records/frame_record.h"

// The gamma setting of the current original type (transparency or reflective).
double CurrentGamma();
void SetCurrentGamma(double gamma);

// table[0..n-1] = (i / (n-1))^(1/gamma) on 0..levels-1.
void BuildGammaTable(uint16_t* table, int32_t n, int32_t levels, double gamma);
// The calibration's grey balance of one channel (0 master, 1-3); false and
// nothing written when the calibration gives fewer than two points.
bool BuildGreyBalanceTable(uint16_t* table, int32_t n, int16_t channel);
// table[i] = grey[gamma[i]].
void BuildGammaGreyBalanceTable(uint16_t* table, int32_t n, double gamma, int16_t channel);
// The falling table of a negative: the film's range maps onto the output range.
void BuildNegativeGammaTable(uint16_t* table, int32_t n, double gamma, int16_t channel, FrameRecord* frame);
// The gamma table of the situation: negative, calibrated or plain.
void BuildGammaTableForMode(uint16_t* table, int16_t n, double gamma, int16_t channel, uint8_t useNegative,
                            FrameRecord* frame);
