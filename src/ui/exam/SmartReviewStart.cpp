// The exam window's Smart Review: the items the candidate is about to
// forget, drawn from what the item memory holds and assembled as every bank
// exam is.
#include "core/exam/ExamKind.h"
#include "core/exam/ExamSession.h"
#include "core/learning/ActiveItems.h"
#include "core/learning/ItemState.h"
#include "core/learning/SmartReview.h"
#include "core/tables/Table.h"
#include "ui/exam/AssemblyProgress.h"
#include "ui/exam/TNameForm.h"
#include "ui/exam/TProgressForm.h"
#include "ui/exam/TTestForm.h"
#include "ui/history/ExamHistory.h"
#include "ui/widgets/Dialogs.h"

#include <QDateTime>
#include <algorithm>

namespace {
// The number of items the name dialog offers first.
constexpr int DefaultCount = 50;

bool anySeen(const std::vector<ActiveItem>& items, const MemoryStates& memory)
{
    return std::any_of(items.begin(), items.end(), [&memory](const ActiveItem& item) {
        const ItemState* state = memory.find(ItemSource::Bank, item.id);
        return state && state->isSeen();
    });
}
} // namespace

void TTestForm::SmartReviewActExecute()
{
    if (examMode != ExamMode::Idle)
        return;
    for (const QString& notice : examSession->prepareCandidateTables())
        Dialogs::message(this, Dialogs::Icon::Warning, notice, Dialogs::Ok, Dialogs::Ok, Dialogs::Ok);
    const ExamKind kind = ExamKind::smartReview();
    const std::vector<ActiveItem> items = examSession->activeItems();
    if (items.empty()) {
        Dialogs::information(this,
                             QStringLiteral("There are no questions available for %1.").arg(kind.title));
        return;
    }
    const MemoryStates memory = History->itemMemory();
    if (!anySeen(items, memory))
        Dialogs::information(this,
                             QStringLiteral("You have not answered any question yet, so this Smart Review "
                                            "is a random exam of questions you have not seen.\nOnce you "
                                            "have graded an exam, Smart Review gives you first the "
                                            "questions you are about to forget."));
    const int available = int(items.size());
    NameForm->setItemCount(std::min(DefaultCount, available), available);
    NameForm->setNumberEnabled(true);
    NameForm->setWindowTitle(kind.caption);
    ExamTitle = kind.title;
    // The chosen items are found by their keys in the whole bank.
    dtQSet->setFilter(QString());
    const auto assembleChosen = [this, &items, &memory] {
        const int count = std::clamp(NameForm->itemCount(), 1, int(items.size()));
        const SmartReview::Choice choice =
            SmartReview::choose(items, memory, count, nextSeed(), QDateTime::currentDateTime());
        AssemblyProgress progress(ProgressForm);
        const ExamSession::Assembled assembled =
            examSession->assembleBankItems(choice.ids, nextSeed(), &progress);
        FirstRecNo = assembled.firstRecNo;
        ItemCount = assembled.itemCount;
    };
    runStartSequence(assembleChosen, *dtQSet, false);
}
