#pragma once
// The truck's label, the same rule for the window and the command line: trimmed, one line, at
// most kTruckLabelLength characters.
#include <QString>
#include <optional>

namespace zorv::history {

inline constexpr int kTruckLabelLength = 24;

// The label to record, or nullopt with `error` saying why it is refused.
std::optional<QString> CheckTruckLabel(const QString& typed, QString& error);

}  // namespace zorv::history
