# find_package(marlint CONFIG) gives the imported static library
# marlint::marlint with its public headers <marlint/marlint.h>.
include(${CMAKE_CURRENT_LIST_DIR}/marlintTargets.cmake)
