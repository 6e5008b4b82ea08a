// SPDX-License-Identifier: MIT
// What the status label tells about a failed tick, in its tooltip: first, for the user, one
// Japanese sentence for the kind of failure ("0 で割りました。"); then, for whoever reports it,
// the failure as the engine names it, with the tick and t:
//   「0.5」は数値として読めません。
//   EConvertError: '0.5' is not a valid floating point value (tick 1, t = 0)
#pragma once

#include <QString>

namespace kurvilo {

struct TickFailure;

QString failureDetail(const TickFailure& failure);

}  // namespace kurvilo
