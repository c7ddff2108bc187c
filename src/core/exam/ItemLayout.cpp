#include "core/exam/ItemLayout.h"

#include <QtGlobal>
#include <algorithm>

ItemLayout::Result ItemLayout::compute(const Input& in)
{
    // The inner width is the outer one less a shown scroll bar; heights are measured texts.
    Q_ASSERT(in.C <= in.W);
    Q_ASSERT(in.questionHeight >= 0 && in.explanationHeight >= 0);
    Result r;
    r.panelHeight = in.questionHeight + 2 * Border;
    r.buttonsTop = r.panelHeight + ButtonGap;
    r.calcLeft = in.C - 38;
    int top = r.buttonsTop + ButtonHeight + ChoiceGap;
    int lastBottom = r.buttonsTop + ButtonHeight;
    for (int k = 0; k < 6; ++k) {
        r.choiceTops[k] = top;
        if (in.choiceVisible[k]) {
            lastBottom = top + in.choiceHeights[k];
            top = lastBottom + ChoiceGap;
        }
    }
    r.explanationTop = lastBottom + ExplanationGap;
    r.choicesBottom = std::max(lastBottom, r.buttonsTop + 29) + BottomSpace;
    r.explanationBottom = r.explanationTop + in.explanationHeight + BottomSpace;
    return r;
}
