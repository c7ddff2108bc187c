#include "ui/app/CreateForms.h"

#include "ui/exam/TNameForm.h"
#include "ui/exam/TPict1Form.h"
#include "ui/exam/TPict2Form.h"
#include "ui/exam/TProgressForm.h"
#include "ui/exam/TTestForm.h"
#include "ui/grading/TScoreForm.h"
#include "ui/review/TNoteForm.h"
#include "ui/review/TReviewForm.h"
#include "core/sampler/TDM.h"
#include "ui/sampler/TSamplerForm.h"
#include "ui/settings/TOptionsForm.h"
#include "ui/widgets/ErrorGuard.h"
#include "ui/widgets/TAboutForm.h"

void createForms()
{
    destroyForms();
    // The exam window registers the table password before any table can be
    // opened; the dialogs it opens are its children, each made the first
    // time it is used.
    TestForm = new TTestForm;
    DM = new TDM;
    ProgressForm.setFactory([] { return new TProgressForm(TestForm); });
    ScoreForm.setFactory([] { return new TScoreForm(TestForm); });
    NameForm.setFactory([] { return new TNameForm(TestForm); });
    ReviewForm.setFactory([] { return new TReviewForm(TestForm); });
    NoteForm.setFactory([] {
        auto* form = new TNoteForm(TestForm);
        form->setTables(TestForm->dtCurrentSet, TestForm->examSession->noteWriter());
        return form;
    });
    OptionsForm.setFactory([] { return new TOptionsForm(TestForm); });
    AboutForm.setFactory([] { return new TAboutForm; });
    SamplerForm.setFactory([] {
        auto* form = new TSamplerForm;
        QObject::connect(DM, &TDM::viewChanged, form, guarded(form, &TSamplerForm::ShowUserSetState));
        // Made over a set already open: it shows where the set stands.
        if (DM->dtUserSet->isOpen()) {
            form->ShowUserSetState(DM->stateView());
            form->ShowUserSetState(DM->recordView());
        }
        return form;
    });
    Pict1Form.setFactory([] { return new TPict1Form(TestForm); });
    Pict2Form.setFactory([] { return new TPict2Form(TestForm); });
}

void destroyForms()
{
    delete SamplerForm.made();
    SamplerForm.reset();
    delete AboutForm.made();
    AboutForm.reset();
    delete DM;
    DM = nullptr;
    delete TestForm; // owns the dialogs parented to it
    TestForm = nullptr;
    ProgressForm.reset();
    ScoreForm.reset();
    NameForm.reset();
    ReviewForm.reset();
    NoteForm.reset();
    OptionsForm.reset();
    Pict1Form.reset();
    Pict2Form.reset();
}
