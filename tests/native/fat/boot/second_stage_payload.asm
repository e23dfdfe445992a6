; A stand-in second stage for the boot tests: the FAT32 boot program loads it from reserved
; sector 12 to 0000:8000 and runs it because it ends in 55AA. It shows a marker and DL.
        cpu 386
        bits 16
        org 0x8000

start:
        mov bl, dl
        mov si, marker
.print:
        lodsb
        test al, al
        jz .drive
        call show
        jmp .print
.drive:
        mov al, bl
        shr al, 4
        call digit
        mov al, bl
        and al, 0x0F
        call digit
.halt:
        hlt
        jmp .halt

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

marker: db "Second stage started, drive ", 0
        times 510 - ($ - $$) db 0
        db 0x55, 0xAA
