#include "CreateForms.h"

#include "exam/TNameForm.h"
#include "exam/TPict1Form.h"
#include "exam/TPict2Form.h"
#include "exam/TProgressForm.h"
#include "exam/TTestForm.h"
#include "grading/TScoreForm.h"
#include "review/TNoteForm.h"
#include "review/TReviewForm.h"
#include "sampler/TDM.h"
#include "sampler/TSamplerForm.h"
#include "settings/TOptionsForm.h"
#include "widgets/ErrorGuard.h"
#include "widgets/TAboutForm.h"

void createForms()
{
    destroyForms();
    // The exam window registers the table password before any table can be
    // opened; the dialogs it opens are its children.
    TestForm = new TTestForm;
    ProgressForm = new TProgressForm(TestForm);
    ScoreForm = new TScoreForm(TestForm);
    NameForm = new TNameForm(TestForm);
    ReviewForm = new TReviewForm(TestForm);
    NoteForm = new TNoteForm(TestForm);
    NoteForm->setTables(TestForm->dtCurrentSet, TestForm->noteWriter());
    OptionsForm = new TOptionsForm(TestForm);
    DM = new TDM;
    AboutForm = new TAboutForm;
    SamplerForm = new TSamplerForm;
    QObject::connect(DM, &TDM::viewChanged, SamplerForm,
                     guarded(SamplerForm, &TSamplerForm::ShowUserSetState));
    Pict1Form = new TPict1Form(TestForm);
    Pict2Form = new TPict2Form(TestForm);
}

void destroyForms()
{
    delete SamplerForm;
    SamplerForm = nullptr;
    delete AboutForm;
    AboutForm = nullptr;
    delete DM;
    DM = nullptr;
    delete TestForm; // owns the dialogs parented to it
    TestForm = nullptr;
    ProgressForm = nullptr;
    ScoreForm = nullptr;
    NameForm = nullptr;
    ReviewForm = nullptr;
    NoteForm = nullptr;
    OptionsForm = nullptr;
    Pict1Form = nullptr;
    Pict2Form = nullptr;
}
