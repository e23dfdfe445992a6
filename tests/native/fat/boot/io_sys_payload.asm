; A stand-in IO.SYS for the boot tests: the FAT12/16 boot program loads it to 0070:0200. It shows
; a marker and the drive number it was given in DL, then halts.
        cpu 386
        bits 16
        org 0x0200

start:
        push cs
        pop ds
        mov bl, dl
        mov si, marker
        jmp report

%include "payload_report.inc"

        times 3 * 512 - ($ - $$) db 0
; In the fourth sector, so the marker shows only when all four were loaded.
marker: db "IO.SYS test payload started, drive ", 0
        times 4 * 512 - ($ - $$) db 0
