# SPDX-License-Identifier: MIT
# Optional parts of the build (tests, benchmarks, GUI tests): each is ON (its dependency is
# required), OFF, or AUTO (built when its dependency is found), so a plain configure needs only
# what the programs themselves need.

# Declares the cache entry <feature> with the values AUTO, ON and OFF.
function(kurvilo_feature feature default doc)
    set(${feature} ${default} CACHE STRING "${doc} (AUTO, ON or OFF)")
    set_property(CACHE ${feature} PROPERTY STRINGS AUTO ON OFF)
    string(TOUPPER "${${feature}}" value)
    if(value MATCHES "^(1|YES|TRUE|Y)$")
        set(value ON)
    elseif(value MATCHES "^(0|NO|FALSE|N)$")
        set(value OFF)
    endif()
    if(NOT value MATCHES "^(AUTO|ON|OFF)$")
        message(FATAL_ERROR "${feature} is '${${feature}}'; it must be AUTO, ON or OFF")
    endif()
    set(${feature}_MODE ${value} PARENT_SCOPE)
endfunction()

# Looks for <package> as <feature> asks and sets <feature>_ENABLED. A macro, not a function, so
# that the package's variables reach the caller like a plain find_package.
macro(kurvilo_find_for feature package)
    set(${feature}_ENABLED OFF)
    if(${feature}_MODE STREQUAL "ON")
        find_package(${package} ${ARGN} REQUIRED)
        set(${feature}_ENABLED ON)
    elseif(${feature}_MODE STREQUAL "AUTO")
        find_package(${package} ${ARGN} QUIET)
        if(${package}_FOUND)
            set(${feature}_ENABLED ON)
        else()
            message(STATUS "${feature}: ${package} not found, not built "
                           "(set ${feature}=ON to require it)")
        endif()
    endif()
endmacro()
