#pragma once

#include "core/grading/GradeResult.h"

#include <QString>
#include <cstdint>

class AnswerSheet;

// Grades the answer sheet of a finished exam. Reads the sheet only.
// An exam without items scores 0 and fails; an entry whose section lies
// outside 1..6 counts in the total and under "Other".
GradeResult GradeExam(const AnswerSheet& sheet, const QString& candidateName, const QString& examTitle);

// numerator / denominator rounded to a whole number, an exact half going to
// the even neighbour, computed in integers so that no half is lost to
// floating point. Both arguments are >= 0 and denominator > 0.
std::int64_t roundHalfEven(std::int64_t numerator, std::int64_t denominator);
