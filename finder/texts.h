// The texts the finder shows, in the two encodings it is built for.
#pragma once

#include <string_view>

struct Texts {
  std::string_view dots;             // after "WxH" in a report line, two spaces included
  std::string_view bitColour;        // after the bit count, two spaces included
  std::string_view foundSuffix;      // after the count of pictures taken out
  std::string_view noneFound;
  std::string_view resultCaption;    // caption of the result message box
  std::string_view notWrittenSuffix; // after the report name of a picture that could not be written
  std::string_view partialMiddle;    // between the written and the unwritten count
  std::string_view partialSuffix;    // after the unwritten count
};

// What the Windows program shows: code page 932.
extern const Texts kShiftJisTexts;
// The same characters for a UTF-8 console.
extern const Texts kUtf8Texts;
