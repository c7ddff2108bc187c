#include "ui/app/ProgramWindows.h"

#include "core/sampler/TDM.h"
#include "core/tables/Table.h"
#include "ui/exam/TTestForm.h"
#include "ui/sampler/TSamplerForm.h"
#include "ui/widgets/ErrorGuard.h"

ProgramWindows::ProgramWindows()
    : m_exam(std::make_unique<TTestForm>()), m_dataModule(std::make_unique<TDM>())
{
}

ProgramWindows::~ProgramWindows()
{
    // The sampler's controls follow the data module's set: it goes first.
    m_sampler.reset();
    m_dataModule.reset();
    m_exam.reset();
}

TSamplerForm& ProgramWindows::sampler()
{
    if (!m_sampler) {
        m_sampler = std::make_unique<TSamplerForm>(*m_dataModule);
        TSamplerForm* form = m_sampler.get();
        QObject::connect(m_dataModule.get(), &TDM::viewChanged, form,
                         guarded(form, &TSamplerForm::ShowUserSetState));
        if (m_dataModule->dtUserSet->isOpen()) {
            form->ShowUserSetState(m_dataModule->stateView());
            form->ShowUserSetState(m_dataModule->recordView());
        }
    }
    return *m_sampler;
}
