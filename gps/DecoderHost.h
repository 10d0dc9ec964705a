#pragma once

#include <span>
#include <string>

#include "gps/GpsFix.h"
#include "gps/SatelliteTable.h"

namespace kem::gps {

// What the decoder needs from the main window. Every call happens on the user-interface thread,
// from inside NmeaDecoder::Receive. Any exception a call throws is swallowed by the decoder and
// ends the current batch (see NmeaDecoder).
class DecoderHost {
public:
    virtual ~DecoderHost() = default;

    // Menu ticks and window visibility, asked each time they matter.
    virtual bool AutoMapChecked() = 0;    // MAutoMap: save the sheet being left
    virtual bool LogChecked() = 0;        // MLog: write a log line per position step
    virtual bool MemoVisible() = 0;       // the raw text window TFormMemo
    virtual bool SatWindowVisible() = 0;  // the satellite window TFormSat

    // The position step, called in this order.
    virtual std::string CalcKEM(const std::string& latRaw, const std::string& longRaw) = 0;
    virtual void Beep() = 0;
    // SaveMap (the sheet on screen, before replacing it) and ToLog: a host that reports their
    // failures itself and returns lets the step go on.
    virtual void SaveMap(const std::string& square) = 0;
    virtual void KEMSquare(const std::string& square) = 0;
    virtual void ToLog(const GpsFix& fix) = 0;
    virtual void ToMap(const std::string& latRaw, const std::string& longRaw) = 0;
    virtual void SetClipboardText(const std::string& text) = 0;  // clears, then sets

    // Raw text window: the lines of one batch before it is decoded (without line ends, empty
    // lines included), and the scroll to the caret after it.
    virtual void EchoLines(std::span<const std::string> lines) = 0;
    virtual void ScrollMemoToCaret() = 0;

    // Satellite window: one cell of rows 1..12, and the sky plot of the table.
    virtual void SetSatelliteCell(int row, SatColumn column, const std::string& text) = 0;
    virtual void ShowSats() = 0;

    // Some GpsFix members were assigned new values. Raised after each decoded line that changed
    // something, and before the position step so the panels show the texts it works with.
    virtual void FixChanged(const GpsFix& fix, FixFieldSet changed) = 0;
};

}  // namespace kem::gps
