# Run by cpack once it has written the Debian package: dpkg-deb, Debian's own tool, writes it
# again from its contents, so the archive is the same whoever packs it and under whatever umask:
# members owned by root, folders rwxr-xr-x and files rw-r--r-- (rwxr-xr-x for programs), the
# members' times clamped to SOURCE_DATE_EPOCH (which CPackTime.cmake set), in a sorted order.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    set(tree ${deb}.contents)
    file(REMOVE_RECURSE ${tree})
    execute_process(COMMAND dpkg-deb --raw-extract ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND chmod -R u+rwX,go+rX,go-w ${tree} COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND dpkg-deb --root-owner-group -Zxz --build ${tree} ${deb}
        OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE ${tree})
endforeach()
