#pragma once

#include <QPointer>
#include <functional>

// One of the program's windows, made the first time it is used rather than
// at start-up, so the start window comes up without paying for windows the
// candidate may never open. It reads like a pointer to the window. Once made
// it lives until its parent deletes it; after reset() it is not made again.
template <typename T> class LazyForm
{
public:
    using Factory = std::function<T*()>;

    void setFactory(Factory factory) { m_factory = std::move(factory); }
    // The window, made now if need be; null once reset.
    T* get()
    {
        if (!m_form && m_factory)
            m_form = m_factory();
        return m_form;
    }
    // The window if it has been made, without making it.
    T* made() const { return m_form; }
    void reset()
    {
        m_factory = {};
        m_form = nullptr;
    }

    T* operator->() { return get(); }
    operator T*() { return get(); }

private:
    Factory m_factory;
    QPointer<T> m_form;
};
