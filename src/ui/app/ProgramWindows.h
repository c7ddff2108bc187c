#pragma once

#include <memory>

class TDM;
class TSamplerForm;
class TTestForm;

// The windows the program makes once and reuses, owned here: the exam window
// (which owns the dialogs it opens), the data module over the candidate's own
// question set, and the Test Sampler over it, made the first time it opens.
// The start window is not among them: it is given these to open.
class ProgramWindows
{
public:
    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    TTestForm& exam() const { return *m_exam; }
    TDM& dataModule() const { return *m_dataModule; }
    // The Test Sampler, made now if need be. Made over a set already open,
    // it shows where the set stands.
    TSamplerForm& sampler();
    // The Test Sampler if it has been made, without making it.
    TSamplerForm* madeSampler() const { return m_sampler.get(); }

private:
    // The exam window first: it registers the tables' password before any
    // table can be opened.
    std::unique_ptr<TTestForm> m_exam;
    std::unique_ptr<TDM> m_dataModule;
    std::unique_ptr<TSamplerForm> m_sampler;
};
