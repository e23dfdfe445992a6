; Master boot program: bytes 0-379 of the master boot record.
; Moves itself to 0000:0600, picks the active partition and starts its first sector at 0000:7C00
; with DS:SI (and DS:BP) on the partition entry and DL the BIOS drive.
        cpu 386
        bits 16
        org 0x0600

table     equ 0x07BE                    ; partition table of the relocated copy
loaded    equ 0x7C00
signature equ loaded + 510

start:
        cli
        xor ax, ax
        mov ss, ax
        mov sp, loaded
        mov ds, ax
        mov es, ax
        sti
        cld
        mov si, sp
        mov di, 0x0600
        mov cx, 256
        rep movsw
        jmp 0:relocated

relocated:
        mov si, table
        xor bp, bp
        mov cl, 4                       ; CH is 0: the copy left CX 0
.scan:
        cmp byte [si], 0
        je .next
        jns invalid                     ; neither 0 nor active
        test bp, bp
        jnz invalid                     ; a second active entry
        mov bp, si
.next:
        add si, 16
        loop .scan
        test bp, bp
        jnz found
        int 0x18                        ; nothing to start here: the BIOS tries elsewhere
        jmp hang

invalid:
        mov si, msg_invalid
print:
        lodsb
        test al, al
        jz hang
        mov ah, 0x0E
        mov bx, 7
        int 0x10
        jmp print
hang:
        hlt
        jmp hang

; BP = the active entry, DL = the drive from here on.
found:
        mov si, msg_error               ; replaced once a sector could be read
        mov eax, [bp+8]
        call try_sector
        mov al, [bp+4]
        sub al, 0x0B                    ; FAT32 types keep a backup boot sector six sectors on
        cmp al, 1
        ja print
        mov eax, [bp+8]
        add eax, 6
        call try_sector
        jmp print

; try_sector: loads sector EAX and starts it when it carries the boot signature. Returns
; otherwise, with SI on the message that says why.
try_sector:
        mov word [signature], 0         ; the copy that ran there still ends in 55AA
        mov bx, loaded
        call read_sector
        jc .return
        mov si, msg_missing
        cmp word [signature], 0xAA55
        jne .return
        mov si, bp
        jmp 0:loaded
.return:
        ret

%include "disk_read.inc"

        times 300 - ($ - $$) db 0
msg_invalid:    db "Invalid partition table", 0
msg_error:      db "Error loading operating system", 0
msg_missing:    db "Missing operating system", 0
        times 380 - ($ - $$) db 0
