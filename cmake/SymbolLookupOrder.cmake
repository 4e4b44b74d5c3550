# At start-up the dynamic loader binds every symbol Qt's libraries use (they are
# built to bind at load time: some 12 000 look-ups), and each look-up tries the
# program's libraries one by one, in the order the program names them, then
# their own libraries breadth first. Qt's own list puts Qt Core seventh and ICU
# thirtieth, so most look-ups walk past a dozen libraries or more. Naming first
# the libraries most symbols come from cuts the loader's work by a fifth.
#
# The order only changes speed: every library named is one the program loads
# anyway. Where two libraries define the same symbol (a C++ template instance
# in several Qt libraries, a maths function glibc exports from both libc and
# libm), every caller still binds to the same single copy, and the copies are
# the same code.

# Most bound first, as counted with LD_DEBUG=bindings over a start-up.
set(ORVANTIS_LOOKUP_FIRST
    Qt6Core Qt6Gui c stdc++ icuuc dbus-1 X11 Qt6DBus Qt6Widgets systemd harfbuzz png16 xcb freetype)

# Names the libraries above first among `target`'s, those that `library` loads.
function(orvantis_order_symbol_lookup target library)
    find_program(LDD_EXECUTABLE ldd)
    get_target_property(library_file ${library} LOCATION)
    if(NOT LDD_EXECUTABLE OR NOT library_file)
        return()
    endif()
    execute_process(COMMAND ${LDD_EXECUTABLE} ${library_file}
                    OUTPUT_VARIABLE dependencies RESULT_VARIABLE failed ERROR_QUIET)
    if(failed)
        return()
    endif()
    # "libicuuc.so.72 => /lib/x86_64-linux-gnu/libicuuc.so.72 (0x...)", and the library itself
    string(REPLACE "\n" ";" lines "${dependencies}")
    list(APPEND lines "${library_file} => ${library_file}")
    foreach(line IN LISTS lines)
        if(line MATCHES "^[ \t]*([^ \t]+) => ([^ \t]+)")
            set(path "${CMAKE_MATCH_2}")
            get_filename_component(file_name "${CMAKE_MATCH_1}" NAME)
            string(REGEX REPLACE "^lib([^.]+(\\.[^s][^.]*)*)\\.so.*$" "\\1" stem "${file_name}")
            set(path_of_${stem} "${path}")
        endif()
    endforeach()
    set(paths)
    foreach(stem IN LISTS ORVANTIS_LOOKUP_FIRST)
        if(DEFINED path_of_${stem})
            list(APPEND paths "${path_of_${stem}}")
        endif()
    endforeach()
    if(paths)
        list(JOIN paths " " joined)
        # Options come before the objects on the link line, so these are named first.
        target_link_options(${target} PRIVATE "SHELL:-Wl,--push-state,--no-as-needed ${joined} -Wl,--pop-state")
    endif()
endfunction()
