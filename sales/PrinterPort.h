#pragma once

#include "core/Config.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Sends raw bytes to an ESC/POS printer: a device or file path, a network
// printer (TCP, usually port 9100) or a raw CUPS queue (through `lp -o raw`).
// The sending runs on a thread of its own with hard time limits, so a printer
// that is off, missing, out of paper or hanging costs at most Limit and the
// window that asked keeps painting meanwhile; typed keys wait their turn.
namespace PrinterPort {

inline constexpr int LimitMs = 3000;

// The printer as the message names it: "printer ESC/POS /dev/usb/lp0".
QString name(const Config::Values::EscPosPrinter& printer);

// Sends the bytes; returns what went wrong, in Indonesian, or nothing when the
// printer (or the CUPS queue) took them all. jobName names a CUPS job.
std::optional<QString> send(const Config::Values::EscPosPrinter& printer, const QByteArray& bytes,
                            const QString& jobName, int limitMs = LimitMs);

} // namespace PrinterPort
