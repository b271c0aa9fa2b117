#include "model/capture.h"

#include "runtime/convert.h"

namespace diaspring {

void CaptureDesign(SpringDesign& d, Fields& fields) {
  const auto read = [&fields](TextBox box) { return val(fields.text(box)); };

  d.hInput = read(TextBox::Text4);
  d.HoverH = read(TextBox::Text6);
  fields.setText(TextBox::Text5, generalText(d.hInput * d.HoverH));
  d.RInput = read(TextBox::Text7);
  d.RoverR = read(TextBox::Text9);
  fields.setText(TextBox::Text8, format(d.RInput / d.RoverR, "0.00"));
  d.R = read(TextBox::Text7);
  d.r = read(TextBox::Text8);
  d.R1 = read(TextBox::Text7) - 2;
  d.r1 = read(TextBox::Text8) + 2;
  d.E = read(TextBox::Text31);
  d.mu = read(TextBox::Text32);
  d.H = read(TextBox::Text5);
  d.h = read(TextBox::Text4);
}

}  // namespace diaspring
