# Lays out the npm package in STAGE_DIR and packs it into TARBALL. The
# checker script and the two emscripten scripts are CommonJS inside an ES
# module package, hence .cjs; the command gets its #! line here, and its
# WebAssembly goes beside it.

file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${STAGE_DIR}/bin)

foreach(name index.js index.d.ts README.md)
  file(COPY_FILE ${SOURCE_DIR}/${name} ${STAGE_DIR}/${name})
endforeach()
file(COPY_FILE ${LICENSE_FILE} ${STAGE_DIR}/LICENSE)
file(COPY_FILE ${PACKAGE_JSON} ${STAGE_DIR}/package.json)
file(COPY_FILE ${CORE_JS} ${STAGE_DIR}/marlint-core.cjs)

file(READ ${CHECKER_JS} checker)
file(WRITE ${STAGE_DIR}/checker.cjs "${checker}\nmodule.exports = {createMarlintChecker};\n")

file(READ ${COMMAND_JS} command)
file(WRITE ${STAGE_DIR}/bin/marlint.cjs "#!/usr/bin/env node\n${command}")
file(COPY_FILE ${COMMAND_WASM} ${STAGE_DIR}/bin/marlint.wasm)
file(CHMOD ${STAGE_DIR}/bin/marlint.cjs PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
     GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

file(REMOVE ${TARBALL})
get_filename_component(destination ${TARBALL} DIRECTORY)
if(NPM)
  execute_process(COMMAND ${NPM} pack --pack-destination ${destination} --loglevel=warn
                          --update-notifier=false
                  WORKING_DIRECTORY ${STAGE_DIR} OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
else()
  # npm's own layout: every file under package/.
  get_filename_component(parent ${STAGE_DIR} DIRECTORY)
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar czf ${TARBALL} package
                  WORKING_DIRECTORY ${parent} COMMAND_ERROR_IS_FATAL ANY)
endif()
if(NOT EXISTS ${TARBALL})
  message(FATAL_ERROR "the npm package was not packed into ${TARBALL}")
endif()
