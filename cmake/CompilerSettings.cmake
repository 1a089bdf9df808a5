# Warnings and sanitizers for every target of the project, in one place.

add_compile_options(
    -Wall -Wextra -Wpedantic
    -Wnon-virtual-dtor -Woverloaded-virtual -Wsuggest-override
    -Wcast-align -Wformat=2 -Wimplicit-fallthrough
)

if(HARKENER_SANITIZE)
    if("thread" IN_LIST HARKENER_SANITIZE AND ("address" IN_LIST HARKENER_SANITIZE))
        message(FATAL_ERROR "The thread sanitizer cannot be combined with the address sanitizer")
    endif()
    list(JOIN HARKENER_SANITIZE "," _sanitizers)
    add_compile_options(-fsanitize=${_sanitizers} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${_sanitizers})
endif()

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
    set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()
