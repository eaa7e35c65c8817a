# Installs the built library into a scratch prefix, then configures, builds
# and runs tiny hosts that find it with find_package(Tav): one of the
# library, one of its JSON model files and one of its Qt window when it has
# them.
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${WORK_DIR}/prefix"
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -S "${SOURCE_DIR}/tests/package" -B "${WORK_DIR}/build"
  "-DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configuring the host failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build "${WORK_DIR}/build" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "building the host failed")
endif()
execute_process(COMMAND "${WORK_DIR}/build/package_host" WORKING_DIRECTORY "${WORK_DIR}"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "TAV PACKAGE")
  message(FATAL_ERROR "the host did not run: ${rc} ${out}")
endif()
if(WITH_JSON)
  execute_process(COMMAND "${WORK_DIR}/build/package_json_host" RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "TAV JSON 1")
    message(FATAL_ERROR "the JSON host did not run: ${rc} ${out}")
  endif()
endif()
if(WITH_QT)
  set(ENV{QT_QPA_PLATFORM} offscreen)
  execute_process(COMMAND "${WORK_DIR}/build/package_qt_host" RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "TAV QT 7")
    message(FATAL_ERROR "the Qt host did not run: ${rc} ${out}")
  endif()
endif()
