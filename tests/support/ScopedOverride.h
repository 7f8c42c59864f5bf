#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

// Puts a fake in place of one of the program's services for as long as it
// lives, then puts back the one it replaced. install(service) is the
// service's own setter, which returns the service it replaces:
//     ScopedOverride scope(&fakeBoxes, SetMessageBoxService);
template <class Install> class ScopedOverride
{
public:
    using Service = std::remove_pointer_t<std::invoke_result_t<Install, std::nullptr_t>>;

    ScopedOverride(Service* fake, Install install)
        : m_install(std::move(install)), m_previous(m_install(fake))
    {
    }
    ~ScopedOverride() { m_install(m_previous); }
    ScopedOverride(const ScopedOverride&) = delete;
    ScopedOverride& operator=(const ScopedOverride&) = delete;

private:
    Install m_install;
    Service* m_previous;
};
