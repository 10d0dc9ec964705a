#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "gps/DecoderHost.h"
#include "gps/GpsFix.h"
#include "gps/LineAssembler.h"
#include "gps/NmeaFields.h"

namespace kem::gps {

// Decodes the receiver's byte stream: "$GPRMC,", "$GPGGA,", "$GPGSV," and "$GPGSA," lines update
// the fix texts and the satellite table, and every Period-th position sentence runs the position
// step through the host. RMC, GGA and GSA of the other GNSS talkers (kFixTalkers) are decoded
// alike; GSV only from GPS, whose satellites the table holds. Checksums are not verified (they
// only decide whether a GGA may mark its fix as seen, see DecodeGga). The main window owns one
// decoder and feeds it from its cpDrvReceiveData handler.
//
// Failure rules: a short RMC or GSV sentence, or any exception while a line is decoded (a missing
// field, or a host call that throws), ends the batch silently; the remaining lines of the batch
// are skipped, values already stored stay, counters keep their values (so a position step that
// failed runs again at the next position sentence), and the end-of-batch steps still run.
class NmeaDecoder {
public:
    static constexpr std::int32_t kDefaultPeriod = 15;
    // GPS, any combination (GN), GLONASS, Galileo, BeiDou (two ids) and QZSS.
    static constexpr std::string_view kFixTalkers[] = {"GP", "GN", "GL", "GA", "GB", "BD", "GQ"};

    explicit NmeaDecoder(DecoderHost& host);

    // One chunk of received bytes (copied at once); never throws. A call that arrives while a call
    // is running (from a nested event loop inside a host call) only queues its bytes; the running
    // call decodes them, in order, before it returns.
    void Receive(const std::uint8_t* data, std::size_t size) noexcept;

    const GpsFix& Fix() const { return m_fix; }

    // Square code of the sheet on display; set by the position step.
    const std::string& CurrentSquare() const { return m_currentSquare; }

    // A new connection: empties the pending line and CurrentSquare and zeroes FixCounter, so the
    // next position sentence runs the position step and redraws the sheet without saving.
    void ResetForConnect();

    // The satellite window was shown or cleared: the sky plot restarts its cadence.
    void ResetSatCycle() { m_satCycleCounter = 0; }

    // Position sentences per position step and GSV cycles per sky plot.
    void SetPeriod(std::int32_t period) { m_period = period; }
    std::int32_t Period() const { return m_period; }

    // The locale's decimal separator, put in place of the "." of received numbers.
    void SetDecimalSeparator(char separator) { m_decimalSeparator = separator; }
    char DecimalSeparator() const { return m_decimalSeparator; }

    // True while a call of Receive is running (a host call may run a nested event loop): the
    // decoder must outlive it, so the owner defers destroying it until this is false.
    bool Busy() const { return m_running; }

    std::int32_t FixCounter() const { return m_fixCounter; }
    std::int32_t SatCycleCounter() const { return m_satCycleCounter; }
    const std::string& PendingLine() const { return m_assembler.PendingLine(); }

private:
    enum class LineEnd { Next, EndBatch };
    struct SentenceRule {
        std::string_view name;  // after "$" and the talker
        bool gpsOnly;
        LineEnd (NmeaDecoder::*decode)(std::string_view line);
    };
    static const SentenceRule kSentenceRules[];

    void ReceiveChunk(const std::uint8_t* data, std::size_t size);
    void DecodeBatch();
    LineEnd DecodeLine(std::string_view line);
    LineEnd DecodeRmc(std::string_view line);
    LineEnd DecodeGga(std::string_view line);
    LineEnd DecodeGsv(std::string_view line);
    LineEnd DecodeGsa(std::string_view line);
    bool IsRepeatedFix(std::string_view talker, const std::string& time) const;
    bool IsOtherSignal() const;
    void WriteSatelliteRows(int baseRow);
    void DecodeLatitude();
    void DecodeLongitude();
    void DecodeHeight(std::size_t index, std::string& member, FixField field);
    void RunPositionStep();
    void Assign(std::string& member, FixField field, const std::string& value);
    void Assign(bool& member, FixField field, bool value);
    void NotifyChanges();

    DecoderHost& m_host;
    GpsFix m_fix;
    FixFieldSet m_changed;
    std::string m_currentSquare;
    // Talker and time of the last intact GGA that counted, and of the last valid RMC: the same
    // fix sent again by another talker is not counted, and its void copy does not overwrite it.
    std::string m_ggaTalker;
    std::string m_ggaTime;
    std::string m_rmcTalker;
    std::string m_rmcTime;
    std::int32_t m_fixCounter = 0;
    std::int32_t m_satCycleCounter = 0;
    std::int32_t m_period = kDefaultPeriod;
    char m_decimalSeparator = '.';

    LineAssembler m_assembler;
    NmeaFields m_fields;
    std::string m_text;  // scratch for building one text, reused

    // Re-entrancy guard and the bytes of calls that arrived while a call was running.
    bool m_running = false;
    std::string m_deferred;
};

}  // namespace kem::gps
