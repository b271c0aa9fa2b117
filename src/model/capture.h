#pragma once
// Capture of the spring design from the window's input boxes.

#include "model/spring_design.h"
#include "form/fields.h"

namespace diaspring {

// Derives the cone height H = h * (H/h) and the inner radius r = R / (R/r),
// shows them in Text5 and Text8 (r rounded to two decimals), then reads the
// geometry and material back from the boxes, so the model works with
// exactly the values the engineer sees. A fault (R/r of 0, a number beyond
// the double range) stops the capture at that step.
void CaptureDesign(SpringDesign& d, Fields& fields);

}  // namespace diaspring
