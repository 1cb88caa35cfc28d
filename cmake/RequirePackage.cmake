# find_package that stops the configuration when the package is missing, naming the
# Debian package that provides it, so a fresh machine is never built without a part of
# the product by accident. scripts/install-deps.sh installs every package named here;
# the options NOLTACE_BUILD_APP and NOLTACE_BUILD_BENCHMARKS leave parts out on purpose.

function(noltace_missing_package what debian)
  message(FATAL_ERROR
    "${what} not found: install the Debian package(s) ${debian} "
    "(bash scripts/install-deps.sh installs everything NoltACE needs)${NOLTACE_MISSING_HINT}")
endfunction()

# noltace_require_package(<find_package name> <Debian package> [find_package arguments])
macro(noltace_require_package name debian)
  find_package(${name} ${ARGN} QUIET)
  if(NOT ${name}_FOUND)
    noltace_missing_package(${name} ${debian})
  endif()
endmacro()

# Qt 6 modules, each with the Debian package that carries its CMake files.
set(NOLTACE_QT6_PACKAGE_Widgets qt6-base-dev)
set(NOLTACE_QT6_PACKAGE_OpenGLWidgets qt6-base-dev)
set(NOLTACE_QT6_PACKAGE_Test qt6-base-dev)
set(NOLTACE_QT6_PACKAGE_OpenGL libqt6opengl6-dev)

# noltace_require_qt6(<module>...)
macro(noltace_require_qt6)
  find_package(Qt6 COMPONENTS ${ARGN} QUIET)
  set(_noltace_missing_qt "")
  set(_noltace_missing_modules "")
  foreach(_module ${ARGN})
    if(NOT Qt6${_module}_FOUND)
      list(APPEND _noltace_missing_modules Qt6${_module})
      list(APPEND _noltace_missing_qt ${NOLTACE_QT6_PACKAGE_${_module}})
    endif()
  endforeach()
  if(_noltace_missing_qt)
    list(REMOVE_DUPLICATES _noltace_missing_qt)
    list(JOIN _noltace_missing_qt " " _noltace_missing_qt)
    list(JOIN _noltace_missing_modules " " _noltace_missing_modules)
    noltace_missing_package("${_noltace_missing_modules}" "${_noltace_missing_qt}")
  endif()
endmacro()
