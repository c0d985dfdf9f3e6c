# Installs the build into a throw-away prefix and uses the installed programs:
# they must find their libraries and the schema from where they are, with no
# environment variable and nothing from the build tree.
set(prefix ${BUILD}/installed-tree)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
                OUTPUT_QUIET RESULT_VARIABLE installed)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()
foreach(file bin/quarvenses bin/quarvenses-sql share/quarvenses/schema/embedded.sql
             share/quarvenses/quarvenses-manual.html share/applications/quarvenses.desktop
             ${QV_PRIVATE_LIBDIR}/components/libadminfiscr.so)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

set(server ${prefix}/servidor)
execute_process(COMMAND env -u LD_LIBRARY_PATH ${prefix}/bin/quarvenses-sql --create --demo -S ${server}
                        -d Quarvenses -U sa -P quarvenses
                RESULT_VARIABLE created OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT created EQUAL 0)
  message(FATAL_ERROR "the installed quarvenses-sql could not create a catalog: ${out}")
endif()
execute_process(COMMAND env -u LD_LIBRARY_PATH ${prefix}/bin/quarvenses-sql -S ${server} -d Quarvenses -U sa
                        -P quarvenses -Q "SELECT COUNT(*) AS n FROM tbContactos WHERE contacto_id = 1"
                RESULT_VARIABLE queried OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT queried EQUAL 0 OR NOT out MATCHES "1")
  message(FATAL_ERROR "the installed catalog does not answer: ${out}")
endif()
file(REMOVE_RECURSE ${prefix})
