; A stand-in second stage for the boot tests: the FAT32 boot program loads it from reserved
; sector 12 to 0000:8000 and runs it because it ends in 55AA. It shows a marker and DL.
        cpu 386
        bits 16
        org 0x8000

start:
        mov bl, dl
        mov si, marker
        jmp report

%include "payload_report.inc"

marker: db "Second stage started, drive ", 0
        times 510 - ($ - $$) db 0
        db 0x55, 0xAA
