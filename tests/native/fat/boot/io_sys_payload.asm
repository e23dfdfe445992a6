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
        call print
        mov al, bl
        shr al, 4
        call digit
        mov al, bl
        and al, 0x0F
        call digit
.halt:
        hlt
        jmp .halt

print:
        lodsb
        test al, al
        jz .end
        call show
        jmp print
.end:
        ret

digit:
        add al, '0'
        cmp al, '9'
        jbe show
        add al, 'A' - '9' - 1
show:
        push bx
        mov ah, 0x0E
        xor bx, bx
        int 0x10
        pop bx
        ret

        times 3 * 512 - ($ - $$) db 0
; In the fourth sector, so the marker shows only when all four were loaded.
marker: db "IO.SYS test payload started, drive ", 0
        times 4 * 512 - ($ - $$) db 0
