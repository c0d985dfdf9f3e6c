# A manual page for every program, made by help2man from the program's own
# --help and --version (one source each: the text the program prints), and
# installed compressed under share/man/man1.
find_program(HELP2MAN help2man REQUIRED)
set(qv_manual_pages)
set(qv_programs
    "quarvenses_host|a ficha de contactos e a sua lista"
    "quarvenses-sql|corre instruções T-SQL e cria bases de dados"
    "quarvenses-settings|lê e escreve as definições guardadas"
    "quarvenses-admin|explica as decisões de permissões e verifica os códigos"
    "quarvenses-cipher|cifra e decifra textos com a cifra da família"
    "quarvenses-vcard|importa e exporta contactos em cartões vCard"
    "quarvenses-carddav|sincroniza os contactos com um livro de endereços CardDAV")
foreach(entry IN LISTS qv_programs)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 program)
  list(GET parts 1 summary)
  get_target_property(name ${program} OUTPUT_NAME)
  if(NOT name)
    set(name ${program})
  endif()
  set(page ${CMAKE_BINARY_DIR}/man/${name}.1)
  # The NAME line, read as UTF-8 from a file (an argument would be taken for Latin-1).
  file(WRITE ${CMAKE_BINARY_DIR}/man/${name}.h2m "[NAME]\n${name} \\- ${summary}\n")
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
            ${HELP2MAN} --no-info --no-discard-stderr --section=1 --source=Quarvenses --locale=C.UTF-8
            --include=${CMAKE_BINARY_DIR}/man/${name}.h2m
            --manual=Contactos\ Quarvenses --output=${page} $<TARGET_FILE:${program}>
    COMMAND gzip -9nf ${page}
    DEPENDS ${program}
    COMMENT "Página de manual de ${name}"
    VERBATIM)
  list(APPEND qv_manual_pages ${page}.gz)
endforeach()
add_custom_target(manual_pages ALL DEPENDS ${qv_manual_pages})
install(FILES ${qv_manual_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
